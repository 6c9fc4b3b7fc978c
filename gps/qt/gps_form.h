// The GPS window: the serial port settings, the link's switches, the status
// memo of the link log and the download's progress bar. It owns the link and
// forwards its buttons to it; the main window shows and hides it and calls
// init_gps and download_gps from its own GPS menu.
#pragma once

#include "gps/gps_link.h"
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

class Tgps_form : public QWidget, private gps::link_observer {
    Q_OBJECT
public:
    // The link talks to `device`; its log is `log_file_name` (created now).
    Tgps_form(map_document& doc, std::unique_ptr<gps::serial_device> device,
              std::string log_file_name, QWidget* parent = nullptr);

    // Section "gps" of the settings file.
    void load_settings(const setting_reader& read);
    void save_settings(const setting_writer& write) const;

    // Start-up and download with the texts the port controls show now.
    void init_gps();
    void download_gps();
    // Sends the map's waypoints to the handset.
    void upload_gps();
    // A start-up or download is running: the window paints meanwhile, and
    // nothing may take the map away under it.
    bool working() const { return working_; }

    // The port box shows `port` (a name such as "COM1" or a device path).
    void set_port(const std::string& port);

    // A modal box with the message; tests answer it instead.
    std::function<void(const std::string& message)> show_error;

    gps::gps_link link;

signals:
    // A download added waypoints to the map.
    void map_changed();

private:
    map_document& doc_;
    bool working_ = false;

    void take_port_texts();
    // What the link shows: the memo, the progress bar and error boxes.
    void status_line(std::string_view line) override;
    void clear_status() override;
    void progress_range(int minimum, int maximum) override;
    void progress_step() override;
    void progress_reset() override;
    void error_box(std::string_view message) override;

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
    QProgressBar* download_progress_ = nullptr;
};

} // namespace wayloom
