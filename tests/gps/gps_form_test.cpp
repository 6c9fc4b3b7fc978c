// The GPS window on the offscreen platform: its settings section, its
// switches, and a start-up and download through its buttons against the
// handset simulator on a pseudo-terminal.
#include "gps/qt/gps_form.h"
#include "gps/serial_posix.h"
#include "model/map_document.h"
#include "source/reader.h"
#include "source/writer.h"
#include "../tools/simulator_process.h"
#include "tests/settings_map.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

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

private slots:
    void init()
    {
        home_ = std::make_unique<QTemporaryDir>();
        doc_.demolish();
        boxes_.clear();
    }

    void window_and_missing_settings()
    {
        auto form = make_form();
        QCOMPARE(form->windowTitle(), QString("gps_form"));
        QCOMPARE(form->pos(), QPoint(68, 204));
        QVERIFY(!form->isVisible());
        // The log file is created at once, before anything was logged.
        QVERIFY(QFile::exists(home_->filePath("rave-viz.log")));

        const settings_map none;
        form->load_settings(reader_of(none));
        QCOMPARE(form->port_edit->currentText(), QString("COM1"));
        QCOMPARE(form->speed_edit->currentText(), QString("9600"));
        QCOMPARE(form->data_bits_edit->currentText(), QString("8"));
        QCOMPARE(form->parity_edit->currentText(), QString("N"));
        QCOMPARE(form->stop_bits_edit->currentText(), QString("1"));
        QCOMPARE(form->timeout_edit->currentText(), QString("100"));
        QCOMPARE(form->interval_edit->currentText(), QString("10"));
        QCOMPARE(form->transfer_speed_edit->currentText(), QString("Same as port"));
        QCOMPARE(form->transfer_speed_edit->itemText(4), QString("115200"));
        QVERIFY(form->logging_check->isChecked());
        QVERIFY(form->link.status_logging());
        QVERIFY(form->gps_enabled_check->isChecked());
        QVERIFY(!form->disk_check->isChecked());
        QCOMPARE(form->gps_enabled_check->text(), QString("Enalble GPS"));
        QCOMPARE(form->port_edit->itemText(7), QString("COM8"));
    }

    void settings_round_trip_leaves_out_the_speed()
    {
        settings_map stored;
        {
            auto form = make_form();
            form->port_edit->setCurrentText("/dev/ttyUSB0");
            form->speed_edit->setCurrentText("4800");
            form->parity_edit->setCurrentText("E");
            form->data_bits_edit->setCurrentText("7");
            form->stop_bits_edit->setCurrentText("2");
            form->timeout_edit->setCurrentText("250");
            form->interval_edit->setCurrentText("20");
            form->transfer_speed_edit->setCurrentText("115200");
            form->logging_check->setChecked(false);
            form->disk_check->setChecked(true);
            form->save_settings(writer_to(stored));
        }
        const settings_map expected = {{"port", "/dev/ttyUSB0"}, {"parity", "E"}, {"data", "7"},
                                       {"stop", "2"},           {"timeout", "250"}, {"interval", "20"},
                                       {"logging", "0"},        {"transfer_speed", "115200"}};
        QVERIFY(stored == expected);

        auto again = make_form();
        again->load_settings(reader_of(stored));
        QCOMPARE(again->port_edit->currentText(), QString("/dev/ttyUSB0"));
        QCOMPARE(again->timeout_edit->currentText(), QString("250"));
        QCOMPARE(again->speed_edit->currentText(), QString("9600"));
        QVERIFY(!again->logging_check->isChecked());
        QVERIFY(!again->link.status_logging());
        QVERIFY(!again->disk_check->isChecked());
    }

    void disabled_gps_does_nothing()
    {
        simulator handset({});
        auto form = make_form();
        form->port_edit->setCurrentText(QString::fromStdString(handset.path()));
        form->gps_enabled_check->setChecked(false);
        form->initialise_button->click();
        form->download_button->click();
        form->upload_button->click();
        QVERIFY(!form->link.port_opened());
        QVERIFY(form->status_log->toPlainText().isEmpty());
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
        form->port_edit->setCurrentText(QString::fromStdString(handset.path()));
        form->initialise_button->click();
        QVERIFY2(boxes_.empty(), boxes_.empty() ? "" : boxes_.front().c_str());
        QVERIFY(form->link.protocol_supported());
        QVERIFY(form->status_log->toPlainText().contains("product id is : 77"));

        // The window paints while the link works; a second command that
        // arrives meanwhile must not start a transfer inside the first.
        int nested = 0;
        connect(form->status_log, &QPlainTextEdit::textChanged, form.get(), [&] {
            QVERIFY(form->working());
            if (nested++ == 5) {
                form->download_gps();
                form->init_gps();
            }
        });
        form->download_button->click();
        QVERIFY(!form->working());
        QVERIFY2(boxes_.empty(), boxes_.empty() ? "" : boxes_.front().c_str());
        QCOMPARE(doc_.waypoint_count(), 33);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(doc_.waypoints_list.entries.front().text, std::string("farmyard"));
        // The bar went up to the last record and was put back at the end.
        QCOMPARE(form->download_progress->maximum(), 32);
        QCOMPARE(form->download_progress->value(), 0);
    }

    void a_one_record_download_shows_a_determinate_bar_and_resets_it()
    {
        map_document one;
        one.create_waypoint().name = "lone";
        const std::string map = home_->filePath("one.wlm").toStdString();
        QVERIFY(save_map(one, map, nullptr));
        simulator handset({"--map", map});
        auto form = make_form();
        form->port_edit->setCurrentText(QString::fromStdString(handset.path()));
        form->initialise_button->click();
        // Qt shows a busy indicator, for ever, when minimum and maximum are equal.
        bool determinate_while_running = true;
        connect(form->status_log, &QPlainTextEdit::textChanged, form.get(), [&] {
            const QProgressBar* bar = form->download_progress;
            if (bar->maximum() <= bar->minimum()) determinate_while_running = false;
        });
        form->download_button->click();
        QVERIFY2(boxes_.empty(), boxes_.empty() ? "" : boxes_.front().c_str());
        QCOMPARE(doc_.waypoint_count(), 1);
        QVERIFY(determinate_while_running);
        QVERIFY(form->download_progress->maximum() > form->download_progress->minimum());
        QCOMPARE(form->download_progress->value(), form->download_progress->minimum());
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
        form->logging_check->setChecked(true);
        form->port_edit->setCurrentText(QString::fromStdString(handset.path()));
        if (initialise_first) form->initialise_button->click();
        // The memo is cleared every 20 records: keep each line as it comes.
        QStringList memo;
        connect(form->status_log, &QPlainTextEdit::textChanged, form.get(), [&] {
            const QString text = form->status_log->toPlainText();
            if (!text.isEmpty()) memo << text.section('\n', -1).trimmed();
        });
        form->upload_button->click();
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
        form->port_edit->setCurrentText(home_->filePath("no-such-port"));
        form->initialise_button->click();
        QVERIFY(!boxes_.empty());
        QCOMPARE(boxes_.front(), std::string("Cant initialise the communications port"));
        form->download_button->click();
        QCOMPARE(boxes_.back(), std::string("Waypoint Download failed"));
    }
};

QTEST_MAIN(gps_form_test)
#include "gps_form_test.moc"
