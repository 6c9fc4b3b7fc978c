// The GPS window on the offscreen platform: its settings section, its
// switches, and a start-up and download through its buttons against the
// handset simulator on a pseudo-terminal.
#include "gps/qt/gps_form.h"
#include "gps/serial_posix.h"
#include "model/map_document.h"
#include "source/reader.h"
#include "source/writer.h"
#include "../tools/simulator_process.h"
#include "tests/find_control.h"
#include "tests/settings_map.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>

using namespace wayloom;
using namespace wayloom::testing;

class gps_form_test : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;
    map_document doc_;
    std::vector<std::string> boxes_;

    std::unique_ptr<Tgps_form> make_form()
    {
        auto form = std::make_unique<Tgps_form>(doc_, std::make_unique<gps::posix_serial>(),
                                                home_->filePath("rave-viz.log").toStdString());
        form->show_error = [this](const std::string& message) { boxes_.push_back(message); };
        return form;
    }

    static QComboBox* box(const Tgps_form& form, const char* name) { return control<QComboBox>(form, name); }
    static QAbstractButton* button(const Tgps_form& form, const char* name)
    {
        return control<QAbstractButton>(form, name);
    }
    static QPlainTextEdit* log(const Tgps_form& form) { return control<QPlainTextEdit>(form, "status_log"); }
    static QProgressBar* bar(const Tgps_form& form) { return control<QProgressBar>(form, "download_progress"); }

    // Presses the button and waits until the link's job has ended.
    static void press(Tgps_form& form, const char* name)
    {
        button(form, name)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!form.working(), 60000);
    }

private slots:
    void init()
    {
        home_ = std::make_unique<QTemporaryDir>();
        doc_.demolish();
        boxes_.clear();
    }

    // Each box's start, what is kept of it (the speed is not) and what a
    // new window reads back; the disk box is never kept.
    void window_and_its_settings()
    {
        auto form = make_form();
        QCOMPARE(form->windowTitle(), QString("gps_form"));
        QCOMPARE(form->pos(), QPoint(68, 204));
        QVERIFY(QFile::exists(home_->filePath("rave-viz.log")));  // created before anything is logged
        QCOMPARE(box(*form, "port_edit")->itemText(7), QString("COM8"));
        QCOMPARE(button(*form, "gps_enabled_check")->text(), QString("Enalble GPS"));
        struct row { const char* box; const char* initial; const char* typed; const char* key; };
        const row rows[] = {
            {"port_edit", "COM1", "/dev/ttyUSB0", "port"}, {"speed_edit", "9600", "4800", nullptr},
            {"data_bits_edit", "8", "7", "data"},          {"parity_edit", "N", "E", "parity"},
            {"stop_bits_edit", "1", "2", "stop"},          {"timeout_edit", "100", "250", "timeout"},
            {"interval_edit", "10", "20", "interval"},
            {"transfer_speed_edit", "Same as port", "115200", "transfer_speed"},
            {"close_within_edit", "25", "40", "close_within"}, {"simplify_edit", "0", "2.5", "simplify"},
        };
        form->load_settings(reader_of({}));
        for (const row& r : rows) QVERIFY2(box(*form, r.box)->currentText() == r.initial, r.box);
        QVERIFY(button(*form, "logging_check")->isChecked() && form->link.status_logging());
        QVERIFY(button(*form, "gps_enabled_check")->isChecked() && !button(*form, "disk_check")->isChecked());
        QVERIFY(button(*form, "waypoints_check")->isChecked() && !button(*form, "tracks_check")->isChecked());

        for (const row& r : rows) box(*form, r.box)->setCurrentText(r.typed);
        QCOMPARE(doc_.track_reading.simplify, 2.5);  // GPX reads follow at once
        button(*form, "waypoints_check")->setChecked(false);
        button(*form, "routes_check")->setChecked(true);
        button(*form, "logging_check")->setChecked(false);
        button(*form, "disk_check")->setChecked(true);
        settings_map stored;
        form->save_settings(writer_to(stored));
        QCOMPARE(stored.size(), std::size_t(13));
        QVERIFY(stored.at("logging") == "0" && stored.at("get_waypoints") == "0" && stored.at("get_tracks") == "0");
        auto again = make_form();
        again->load_settings(reader_of(stored));
        for (const row& r : rows) {
            QVERIFY2(!r.key || stored.at(r.key) == r.typed, r.box);
            QVERIFY2(box(*again, r.box)->currentText() == (r.key ? r.typed : r.initial), r.box);
        }
        QVERIFY(!button(*again, "logging_check")->isChecked() && !again->link.status_logging());
        QVERIFY(!button(*again, "disk_check")->isChecked() && !button(*again, "waypoints_check")->isChecked());
        QVERIFY(button(*again, "routes_check")->isChecked() && stored.at("get_routes") == "1");
    }

    void disabled_gps_does_nothing()
    {
        simulator handset({});
        auto form = make_form();
        form->set_port(handset.path());
        button(*form, "gps_enabled_check")->setChecked(false);
        for (const char* name : {"initialise_button", "download_button", "upload_button"}) press(*form, name);
        QVERIFY(!form->link.port_opened());
        QVERIFY(log(*form)->toPlainText().isEmpty());
        QVERIFY(boxes_.empty());
        QCOMPARE(doc_.waypoint_count(), 0);
    }

    void start_up_and_download_through_the_buttons()
    {
        simulator handset({"--map", WAYLOOM_SOURCE_DIR "/examples/farm.wlm"});
        QVERIFY(!handset.path().empty());
        auto form = make_form();
        QSignalSpy changed(form.get(), &Tgps_form::map_changed);
        const settings_map none;
        form->load_settings(reader_of(none));
        form->set_port(handset.path());
        button(*form, "tracks_check")->setChecked(true);
        button(*form, "routes_check")->setChecked(true);
        doc_.create_waypoint().name = "there-before";
        press(*form, "initialise_button");
        QVERIFY2(boxes_.empty(), boxes_.empty() ? "" : boxes_.front().c_str());
        QVERIFY(form->link.protocol_supported());
        QVERIFY(log(*form)->toPlainText().contains("product id is : 77"));

        // A second command while the link works is refused, not run inside
        // or beside the first.
        int lines = 0;
        connect(log(*form), &QPlainTextEdit::textChanged, form.get(), [&] {
            QVERIFY(form->working());
            if (lines++ == 5) {
                form->download_gps();
                form->init_gps();
            }
        });
        press(*form, "download_button");
        QVERIFY2(boxes_.empty(), boxes_.empty() ? "" : boxes_.front().c_str());
        // The farm's waypoints after the one there before, its fields and track as
        // tracks (each node on a waypoint of its own) and its track as a route
        // (node 2 on the farmyard), in 33 records, 34 (5 headers, 29 points) and
        // 12 (a header, 6 waypoints, 5 links): the bar went up to the last and
        // was put back at the end.
        QCOMPARE(std::pair(doc_.waypoint_count(), doc_.shape_count()), std::pair(1 + 33 + 25, 6));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(doc_.waypoints_list.entries.at(1).text, std::string("farmyard"));
        QCOMPARE(doc_.shapes.back()->nodes[2].waypoint, 1);
        QCOMPARE(doc_.shape_list.size(), std::size_t(6));
        QCOMPARE(bar(*form)->maximum(), 33 + 34 + 12 - 1);
        QCOMPARE(bar(*form)->value(), 0);
    }

    void a_one_record_download_shows_a_determinate_bar_and_resets_it()
    {
        map_document one;
        one.create_waypoint().name = "lone";
        const std::string map = home_->filePath("one.wlm").toStdString();
        QVERIFY(save_map(one, map, nullptr));
        simulator handset({"--map", map});
        auto form = make_form();
        form->set_port(handset.path());
        press(*form, "initialise_button");
        // Qt shows a busy indicator, for ever, when minimum and maximum are equal.
        bool determinate_while_running = true;
        connect(log(*form), &QPlainTextEdit::textChanged, form.get(), [&] {
            const QProgressBar* progress = bar(*form);
            if (progress->maximum() <= progress->minimum()) determinate_while_running = false;
        });
        press(*form, "download_button");
        QVERIFY2(boxes_.empty(), boxes_.empty() ? "" : boxes_.front().c_str());
        QCOMPARE(doc_.waypoint_count(), 1);
        QVERIFY(determinate_while_running);
        QVERIFY(bar(*form)->maximum() > bar(*form)->minimum());
        QCOMPARE(bar(*form)->value(), bar(*form)->minimum());
    }

    void upload_through_the_button_data()
    {
        QTest::addColumn<bool>("initialise_first");
        QTest::newRow("after Initialise GPS") << true;
        // Upload alone starts the link itself, and the memo shows the start-up.
        QTest::newRow("without Initialise GPS") << false;
    }

    void upload_through_the_button()
    {
        QFETCH(bool, initialise_first);
        const std::string store = home_->filePath("stored.wlm").toStdString();
        simulator handset({"--store", store});
        QVERIFY(read_map(doc_, WAYLOOM_SOURCE_DIR "/examples/farm.wlm").ok());
        auto form = make_form();
        button(*form, "logging_check")->setChecked(true);
        form->set_port(handset.path());
        if (initialise_first) press(*form, "initialise_button");
        // The memo is cleared every 20 records: keep each line as it comes.
        QStringList memo;
        connect(log(*form), &QPlainTextEdit::textChanged, form.get(), [&] {
            const QString text = log(*form)->toPlainText();
            if (!text.isEmpty()) memo << text.section('\n', -1).trimmed();
        });
        press(*form, "upload_button");
        QVERIFY2(boxes_.empty(), boxes_.empty() ? "" : boxes_.front().c_str());
        QCOMPARE(form->link.uploaded(), 33);
        QCOMPARE(memo.contains("gps init"), !initialise_first);
        QVERIFY(memo.contains("upload_waypoints"));
        // The simulator writes the map once it has taken the transfer-complete
        // packet, which it acknowledged before; wait for the file, not a time.
        QFile stored(QString::fromStdString(store));
        QTRY_VERIFY_WITH_TIMEOUT(stored.exists() && stored.size() > 0, 30000);
        map_document back;
        const auto read_back = [&] {
            back.demolish();
            return read_map(back, store).ok() && back.waypoint_count() == 33;
        };
        QTRY_VERIFY_WITH_TIMEOUT(read_back(), 30000);
        QCOMPARE(QString::fromStdString(back.waypoints.front()->name), QString("farmyard"));
    }

    void a_port_that_cannot_open_is_an_error_box()
    {
        auto form = make_form();
        form->set_port(home_->filePath("no-such-port").toStdString());
        press(*form, "initialise_button");
        QVERIFY(!boxes_.empty());
        QCOMPARE(boxes_.front(), std::string("Cant initialise the communications port"));
        press(*form, "download_button");
        QCOMPARE(boxes_.back(), std::string("Waypoint Download failed"));
    }

    // On a slow line: the window runs its event loop meanwhile, Cancel is
    // there only during the transfer, and what came before it stays.
    void cancel_keeps_what_came()
    {
        simulator handset({"--baud", "1200", "--map", WAYLOOM_SOURCE_DIR "/examples/farm.wlm"});
        auto form = make_form();
        form->set_port(handset.path());
        box(*form, "speed_edit")->setCurrentText("1200");
        box(*form, "interval_edit")->setCurrentText("50");
        button(*form, "logging_check")->setChecked(true);
        int ticks = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, form.get(), [&] { ++ticks; });
        beat.start(10);
        QAbstractButton* cancel = button(*form, "cancel_button");
        connect(bar(*form), &QProgressBar::valueChanged, form.get(), [&](int value) {
            QVERIFY(cancel->isEnabled() && !button(*form, "download_button")->isEnabled());
            if (value == 2) cancel->click();
        });
        QVERIFY(!cancel->isEnabled());
        press(*form, "download_button");
        QVERIFY(boxes_.empty());
        QVERIFY(!cancel->isEnabled() && button(*form, "download_button")->isEnabled());
        const int kept = doc_.waypoint_count();
        QVERIFY(kept >= 2 && kept < 33);
        QVERIFY(log(*form)->toPlainText().contains(QString("cancelled after %1 of 33").arg(kept)));
        QVERIFY2(ticks > 50, qPrintable(QString::number(ticks)));
    }
};

QTEST_MAIN(gps_form_test)
#include "gps_form_test.moc"
