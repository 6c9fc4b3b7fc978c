// The statistics window on the offscreen platform: the lists, Process and
// Save, the file written and shown, and a file that cannot be written.
#include "statistics/qt/statistics_form.h"

#include "model/map_document.h"
#include "source/reader.h"
#include "view/geometry/map_refresh.h"
#include "view/geometry/view_state.h"
#include "tests/find_control.h"
#include "tests/read_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <memory>

using namespace wayloom;
using wayloom::testing::control;

class statistics_form_test : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;
    map_document doc;
    view_state view;
    measurement units;
    std::vector<std::string> errors;
    std::optional<std::string> chosen;
    std::unique_ptr<Tstatistics_form> form;

    std::string home() const { return home_->path().toStdString() + "/"; }

    QListWidget* list() const { return control<QListWidget>(*form, "shapes_list"); }
    QComboBox* perimeter() const { return control<QComboBox>(*form, "perimeter_shape_combo"); }
    QTextBrowser* viewer() const { return control<QTextBrowser>(*form, "statistics_browser"); }
    QAbstractButton* button(const char* name) const { return control<QAbstractButton>(*form, name); }
    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < list()->count(); ++row) names << list()->item(row)->text();
        return names;
    }

private slots:
    void init()
    {
        home_ = std::make_unique<QTemporaryDir>();
        doc.demolish();
        view = {};
        view.avail_width = 400;
        view.avail_height = 300;
        QVERIFY(read_map(doc, WAYLOOM_SOURCE_DIR "/examples/farm.wlm", view_after_read(view)).ok());
        units = {};
        errors.clear();
        chosen.reset();
        Tstatistics_form::desktop desktop;
        desktop.choose_file = [this] { return chosen; };
        desktop.error_box = [this](const std::string& m) { errors.push_back(m); };
        desktop.ellipsoidal_area = [](const t_shape&) { return 2.0e6; };
        form = std::make_unique<Tstatistics_form>(doc, units, home(), desktop);
    }

    void showing_fills_the_lists_and_process_writes_the_report()
    {
        QVERIFY(!doc.statistics_ready);
        button("process_button")->click();
        QVERIFY(!QFile::exists(QString::fromStdString(home() + "statistics.txt")));

        form->show();
        QVERIFY(doc.statistics_ready);
        QCOMPARE(listed(), QStringList({"north-meadow", "long-field", "orchard", "pond", "farm-track"}));
        QCOMPARE(perimeter()->count(), 5);
        QCOMPARE(perimeter()->currentIndex(), -1);

        perimeter()->setCurrentIndex(1);
        emit perimeter()->activated(1);
        list()->item(1)->setSelected(true);
        button("process_button")->click();
        const std::string path = home() + "statistics.txt";
        const std::string text = testing::read_text(path);
        // The report's wording is area_report_test's; here the choice reaches it.
        QCOMPARE(text, report_text(report_lines(doc, form->choice())));
        QVERIFY(text.find("Shape : long-field is : ") != std::string::npos);
        QCOMPARE(viewer()->source(), QUrl::fromLocalFile(QString::fromStdString(path)));
        // Shown line by line, as the file holds it.
        QVERIFY(viewer()->toPlainText().contains("% of the perimeter\n\nTotal coverage of : Selected shapes"));
        // Lines too long for the viewer go on below: none is cut at its edge.
        QCOMPARE(viewer()->horizontalScrollBar()->maximum(), 0);

        // Taking a shape off the map makes the lists stale: nothing is written.
        QFile::remove(QString::fromStdString(path));
        doc.unlink(*doc.shapes.back());
        button("process_button")->click();
        QVERIFY(!QFile::exists(QString::fromStdString(path)));
    }

    void classes_mode_lists_the_classes()
    {
        form->show();
        button("classes_item")->click();
        QCOMPARE(listed(), QStringList({"pasture", "arable", "water", "track", "fence"}));
        list()->item(2)->setSelected(true);
        const report_choice c = form->choice();
        QCOMPARE(c.mode, report_mode::classes);
        QCOMPARE(c.classes.size(), std::size_t(1));
        QCOMPARE(c.classes.front()->name, std::string("water"));
        QVERIFY(!c.ellipsoidal_area);
        button("ellipsoidal_check")->setChecked(true);
        QVERIFY(form->choice().ellipsoidal_area);
    }

    void save_goes_where_chosen_or_to_the_program_directory()
    {
        form->show();
        chosen = home() + "out.txt";
        button("save_button")->click();
        QVERIFY(QFile::exists(QString::fromStdString(home() + "out.txt")));
        chosen.reset();
        button("save_button")->click();
        QVERIFY(QFile::exists(QString::fromStdString(home() + "statistics.txt")));
        QVERIFY(errors.empty());
    }

    void a_report_that_cannot_be_written_is_an_error_box()
    {
        form->show();
        button("process_button")->click();
        const QUrl shown = viewer()->source();
        chosen = home() + "no-such-folder/out.txt";
        QVERIFY(!form->show_results({}));
        QCOMPARE(errors, std::vector<std::string>{"Cannot create file \"" + *chosen +
                                                  "\". " + std::strerror(ENOENT)});
        QCOMPARE(viewer()->source(), shown);
    }
};

QTEST_MAIN(statistics_form_test)
#include "statistics_form_test.moc"
