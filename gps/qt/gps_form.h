// The GPS window: the serial port settings, the link's switches, the status
// memo of the link log and the download's progress bar. It owns the link,
// which works on a thread of its own, and forwards its buttons to it; the
// main window shows and hides it and calls init_gps and download_gps from
// its own GPS menu.
#pragma once

#include "gps/gps_link.h"
#include "gps/qt/link_worker.h"
#include "model/settings_section.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace wayloom {

struct map_document;

class Tgps_form : public QWidget {
    Q_OBJECT
    link_worker worker_;

public:
    // The link talks to `device`; its log is `log_file_name` (created now).
    Tgps_form(map_document& doc, std::unique_ptr<gps::serial_device> device,
              std::string log_file_name, QWidget* parent = nullptr);

    // Section "gps" of the settings file.
    void load_settings(const setting_reader& read);
    void save_settings(const setting_writer& write) const;

    // Start-up and download with the texts the port controls show now; each
    // runs on the link's thread and is refused while another runs.
    void init_gps();
    void download_gps();
    // Sends the map's waypoints to the handset.
    void upload_gps();
    // Stops the running transfer before its next record; what came stays.
    void cancel_transfer();
    // A start-up or transfer is running: the window paints meanwhile, and
    // nothing may take the map away under it.
    bool working() const { return worker_.running(); }

    // A modal box with the message; tests answer it instead.
    std::function<void(const std::string& message)> show_error;

    // The link between jobs (what the last start-up learnt, demolish).
    gps::gps_link& link;

    // The port box shows `port` (a name such as "COM1", "usb:" or a device path).
    void set_port(const std::string& port);

signals:
    // A download is about to add to the map; it added waypoints, paths or
    // shapes.
    void map_changing();
    void map_changed();
    // A start-up or transfer began (true) or ended (false).
    void working_changed(bool working);

private:
    map_document& doc_;

    void start(link_worker::job what);
    void finished(link_worker::job what);
    void apply_switches();
    void show_working(bool working);
    // What the link shows: the memo and the progress bar.
    void progress_range(int minimum, int maximum);
    void progress_step();

    // Each named as its member without the underscore.
    QWidget* gps_settings_panel_ = nullptr;
    QGroupBox* port_group_ = nullptr;
    QComboBox* port_edit_ = nullptr;
    QComboBox* speed_edit_ = nullptr;
    QComboBox* data_bits_edit_ = nullptr;
    QComboBox* parity_edit_ = nullptr;
    QComboBox* stop_bits_edit_ = nullptr;
    QComboBox* timeout_edit_ = nullptr;
    QComboBox* interval_edit_ = nullptr;
    QComboBox* transfer_speed_edit_ = nullptr;
    QPlainTextEdit* status_log_ = nullptr;
    QGroupBox* misc_group_ = nullptr;
    QCheckBox* gps_enabled_check_ = nullptr;
    QCheckBox* logging_check_ = nullptr;
    QCheckBox* disk_check_ = nullptr;
    QPushButton* download_button_ = nullptr;
    QPushButton* upload_button_ = nullptr;
    QPushButton* initialise_button_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
    QCheckBox* waypoints_check_ = nullptr;
    QCheckBox* tracks_check_ = nullptr;
    QCheckBox* routes_check_ = nullptr;
    QComboBox* close_within_edit_ = nullptr;
    QComboBox* simplify_edit_ = nullptr;
    QProgressBar* download_progress_ = nullptr;
};

} // namespace wayloom
