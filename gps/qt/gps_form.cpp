#include "gps/qt/gps_form.h"

#include "model/map_document.h"
#include "source/number_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

namespace wayloom {

namespace {

QComboBox* setting_box(QWidget* parent, std::initializer_list<const char*> items, const char* initial)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : items) box->addItem(item);
    box->setCurrentText(initial);
    return box;
}

std::string text_of(const QComboBox* box) { return box->currentText().toStdString(); }

// The link blocks the window while it waits for the handset; paint what it
// reports as it goes, but take no clicks meanwhile.
void show_now() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

} // namespace

Tgps_form::Tgps_form(map_document& doc, std::unique_ptr<gps::serial_device> device,
                     std::string log_file_name, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      link(doc, std::move(device), *this, std::move(log_file_name)), doc_(doc)
{
    setObjectName("gps_form");
    setWindowTitle("gps_form");
    setFixedSize(256, 444);
    move(68, 204);
    show_error = [this](const std::string& message) {
        QMessageBox::critical(this, "Error", QString::fromStdString(message), QMessageBox::Ok);
    };

    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    gps_settings_panel = new QWidget(this);
    whole->addWidget(gps_settings_panel);
    auto* column = new QVBoxLayout(gps_settings_panel);
    column->setContentsMargins(4, 4, 4, 4);

    port_group = new QGroupBox("Port Configuration", gps_settings_panel);
    auto* port_form = new QFormLayout(port_group);
    port_form->setContentsMargins(6, 4, 6, 4);
    port_form->setVerticalSpacing(2);
    port_edit = setting_box(port_group, {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"}, "COM1");
    // The adapters plugged in now, by the names the system gives them.
    for (const std::string& present : gps::present_serial_devices())
        port_edit->addItem(QString::fromStdString(present));
    port_edit->setCurrentText("COM1");
    speed_edit = setting_box(port_group, {"110", "300", "1200", "2400", "4800", "9600", "14400", "19200",
                                          "38400", "57600", "115200"}, "9600");
    data_bits_edit = setting_box(port_group, {"4", "5", "6", "7", "8"}, "8");
    parity_edit = setting_box(port_group, {"N", "E", "O"}, "N");
    stop_bits_edit = setting_box(port_group, {"1", "2"}, "1");
    timeout_edit = setting_box(port_group, {"10", "50", "100", "200", "250", "300", "400", "500", "750",
                                            "1000", "2500", "5000", "10000"}, "100");
    interval_edit = setting_box(port_group, {"2", "5", "8", "10", "20", "30", "40", "50", "75", "100",
                                             "150", "200", "250", "500"}, "10");
    port_form->addRow("Serial Port", port_edit);
    port_form->addRow("Speed", speed_edit);
    port_form->addRow("Data Bits", data_bits_edit);
    port_form->addRow("Parity", parity_edit);
    port_form->addRow("Stop Bits", stop_bits_edit);
    port_form->addRow("Timeout [msecs]", timeout_edit);
    transfer_speed_edit = setting_box(port_group, {"Same as port", "19200", "38400", "57600", "115200"},
                                      "Same as port");
    port_form->addRow("Interval Timeout ", interval_edit);
    port_form->addRow("Transfer speed", transfer_speed_edit);
    column->addWidget(port_group);

    status_log = new QPlainTextEdit(gps_settings_panel);
    status_log->setReadOnly(true);
    status_log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    status_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->addWidget(status_log, 1);

    misc_group = new QGroupBox("Misc Options", gps_settings_panel);
    auto* misc = new QGridLayout(misc_group);
    misc->setContentsMargins(6, 4, 6, 4);
    gps_enabled_check = new QCheckBox("Enalble GPS", misc_group);
    gps_enabled_check->setChecked(true);
    logging_check = new QCheckBox("Logging", misc_group);
    disk_check = new QCheckBox("Disk", misc_group);
    download_button = new QPushButton("Download", misc_group);
    upload_button = new QPushButton("Upload", misc_group);
    initialise_button = new QPushButton("Initialise GPS", misc_group);
    download_progress = new QProgressBar(misc_group);
    download_progress->setRange(0, 100);
    download_progress->setValue(0);
    download_progress->setTextVisible(false);
    // The switches on the left, the commands on the right: the captions fit
    // the window's narrow width.
    misc->addWidget(gps_enabled_check, 0, 0);
    misc->addWidget(logging_check, 1, 0);
    misc->addWidget(disk_check, 2, 0);
    misc->addWidget(download_button, 0, 1);
    misc->addWidget(upload_button, 1, 1);
    misc->addWidget(initialise_button, 2, 1);
    misc->addWidget(download_progress, 3, 0, 1, 2);
    column->addWidget(misc_group);

    connect(gps_enabled_check, &QCheckBox::toggled, this, [this](bool on) { link.set_gps_enabled(on); });
    connect(logging_check, &QCheckBox::toggled, this, [this](bool on) { link.set_status_logging(on); });
    connect(disk_check, &QCheckBox::toggled, this, [this](bool on) { link.set_disk_logging(on); });
    connect(initialise_button, &QPushButton::clicked, this, &Tgps_form::init_gps);
    connect(download_button, &QPushButton::clicked, this, &Tgps_form::download_gps);
    connect(upload_button, &QPushButton::clicked, this, &Tgps_form::upload_gps);

    link.set_gps_enabled(gps_enabled_check->isChecked());
}

void Tgps_form::load_settings(const setting_reader& read)
{
    auto text = [&](std::string_view key, QComboBox* box, const char* fallback) {
        box->setCurrentText(QString::fromStdString(read(key).value_or(fallback)));
    };
    text("port", port_edit, "COM1");
    text("parity", parity_edit, "N");
    text("data", data_bits_edit, "8");
    text("stop", stop_bits_edit, "1");
    text("timeout", timeout_edit, "100");
    text("interval", interval_edit, "10");
    text("transfer_speed", transfer_speed_edit, "Same as port");
    // Stored as 1 or 0; any other whole number but 0 counts as ticked.
    const auto stored = read("logging");
    const bool logging = stored ? parse_whole_number(*stored).value_or(1) != 0 : true;
    logging_check->setChecked(logging);
    link.set_status_logging(logging);
}

void Tgps_form::save_settings(const setting_writer& write) const
{
    write("port", text_of(port_edit));
    write("parity", text_of(parity_edit));
    write("data", text_of(data_bits_edit));
    write("stop", text_of(stop_bits_edit));
    write("timeout", text_of(timeout_edit));
    write("interval", text_of(interval_edit));
    write("transfer_speed", text_of(transfer_speed_edit));
    write("logging", logging_check->isChecked() ? "1" : "0");
}

void Tgps_form::take_port_texts()
{
    link.texts.port = text_of(port_edit);
    link.texts.speed = text_of(speed_edit);
    link.texts.data_bits = text_of(data_bits_edit);
    link.texts.parity = text_of(parity_edit);
    link.texts.stop_bits = text_of(stop_bits_edit);
    link.texts.timeout = text_of(timeout_edit);
    link.texts.interval = text_of(interval_edit);
    link.texts.transfer_speed = text_of(transfer_speed_edit);
}

void Tgps_form::init_gps()
{
    if (working_) return;
    take_port_texts();
    working_ = true;
    link.init_gps();
    working_ = false;
}

void Tgps_form::download_gps()
{
    if (working_) return;
    take_port_texts();
    const auto before = doc_.waypoint_count();
    working_ = true;
    link.download_gps();
    working_ = false;
    if (doc_.waypoint_count() != before) emit map_changed();
}

void Tgps_form::upload_gps()
{
    if (working_) return;
    take_port_texts();
    working_ = true;
    link.upload_gps();
    working_ = false;
}

void Tgps_form::status_line(std::string_view line)
{
    status_log->appendPlainText(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    show_now();
}

void Tgps_form::clear_status() { status_log->clear(); }

void Tgps_form::progress_range(int minimum, int maximum)
{
    // A range of one value (a single record) would turn the bar into a busy
    // indicator that never stops: the bar always spans at least one step.
    download_progress->setRange(minimum, std::max(minimum + 1, maximum));
    download_progress->setValue(minimum);
}

void Tgps_form::progress_step()
{
    download_progress->setValue(std::min(download_progress->value() + 1, download_progress->maximum()));
    show_now();
}

void Tgps_form::progress_reset() { download_progress->setValue(download_progress->minimum()); }

void Tgps_form::error_box(std::string_view message) { show_error(std::string(message)); }

} // namespace wayloom
