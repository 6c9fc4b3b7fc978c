// The statistics window on the offscreen platform: the lists, Process and
// Save, the file written and shown, and a file that cannot be written.
#include "statistics/qt/statistics_form.h"

#include "model/map_document.h"
#include "source/reader.h"
#include "view/geometry/map_refresh.h"
#include "view/geometry/view_state.h"
#include "tests/read_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <memory>

using namespace wayloom;

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

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < form->shapes_list->count(); ++row) names << form->shapes_list->item(row)->text();
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
        form->process_button->click();
        QVERIFY(!QFile::exists(QString::fromStdString(home() + "statistics.txt")));

        form->show();
        QVERIFY(doc.statistics_ready);
        QCOMPARE(listed(), QStringList({"north-meadow", "long-field", "orchard", "pond", "farm-track"}));
        QCOMPARE(form->perimeter_shape_combo->count(), 5);
        QCOMPARE(form->perimeter_shape_combo->currentIndex(), -1);

        form->perimeter_shape_combo->setCurrentIndex(1);
        emit form->perimeter_shape_combo->activated(1);
        form->shapes_list->item(1)->setSelected(true);
        form->process_button->click();
        const std::string path = home() + "statistics.txt";
        const std::string text = testing::read_text(path);
        // The report's wording is area_report_test's; here the choice reaches it.
        QCOMPARE(text, report_text(report_lines(doc, form->choice())));
        QVERIFY(text.find("Shape : long-field is : ") != std::string::npos);
        QCOMPARE(form->statistics_browser->source(), QUrl::fromLocalFile(QString::fromStdString(path)));
        // Shown line by line, as the file holds it.
        QVERIFY(form->statistics_browser->toPlainText().contains("% of the perimeter\n\nTotal coverage of : Selected shapes"));

        // Taking a shape off the map makes the lists stale: nothing is written.
        QFile::remove(QString::fromStdString(path));
        doc.unlink(*doc.shapes.back());
        form->process_button->click();
        QVERIFY(!QFile::exists(QString::fromStdString(path)));
    }

    void classes_mode_lists_the_classes()
    {
        form->show();
        form->classes_item->click();
        QCOMPARE(listed(), QStringList({"pasture", "arable", "water", "track", "fence"}));
        form->shapes_list->item(2)->setSelected(true);
        const report_choice c = form->choice();
        QCOMPARE(c.mode, report_mode::classes);
        QCOMPARE(c.classes.size(), std::size_t(1));
        QCOMPARE(c.classes.front()->name, std::string("water"));
        QVERIFY(!c.ellipsoidal_area);
        form->ellipsoidal_check->setChecked(true);
        QVERIFY(form->choice().ellipsoidal_area);
    }

    void save_goes_where_chosen_or_to_the_program_directory()
    {
        form->show();
        chosen = home() + "out.txt";
        form->save_button->click();
        QVERIFY(QFile::exists(QString::fromStdString(home() + "out.txt")));
        chosen.reset();
        form->save_button->click();
        QVERIFY(QFile::exists(QString::fromStdString(home() + "statistics.txt")));
        QVERIFY(errors.empty());
    }

    void a_report_that_cannot_be_written_is_an_error_box()
    {
        form->show();
        form->process_button->click();
        const QUrl shown = form->statistics_browser->source();
        chosen = home() + "no-such-folder/out.txt";
        QVERIFY(!form->show_results({}));
        QCOMPARE(errors, std::vector<std::string>{"Cannot create file \"" + *chosen +
                                                  "\". " + std::strerror(ENOENT)});
        QCOMPARE(form->statistics_browser->source(), shown);
    }

    void settings_keep_the_ellipsoidal_box()
    {
        QVERIFY(!form->ellipsoidal_check->isChecked());
        form->load_settings([](std::string_view key) -> std::optional<std::string> {
            if (key == "ellipsoidal") return "1";
            return std::nullopt;
        });
        QVERIFY(form->ellipsoidal_check->isChecked());
        std::string written;
        form->save_settings([&](std::string_view key, std::string_view value) {
            if (key == "ellipsoidal") written = value;
        });
        QCOMPARE(written, std::string("1"));
    }
};

QTEST_MAIN(statistics_form_test)
#include "statistics_form_test.moc"
