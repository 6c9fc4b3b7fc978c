#include "gps/qt/gps_form.h"

#include "gps/usb_libusb.h"
#include "model/map_document.h"
#include "source/number_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
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

} // namespace

Tgps_form::Tgps_form(map_document& doc, std::unique_ptr<gps::serial_device> device,
                     std::string log_file_name, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      worker_(std::move(device), std::move(log_file_name)), link(worker_.link()), doc_(doc)
{
    setObjectName("gps_form");
    setWindowTitle("gps_form");
    // 444 pixels high held the port and the misc options; the rows of what a
    // download takes and of the track settings need the rest.
    setFixedSize(256, 560);
    move(68, 204);
    show_error = [this](const std::string& message) {
        QMessageBox::critical(this, "Error", QString::fromStdString(message), QMessageBox::Ok);
    };

    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    gps_settings_panel_ = new QWidget(this);
    whole->addWidget(gps_settings_panel_);
    auto* column = new QVBoxLayout(gps_settings_panel_);
    column->setContentsMargins(4, 4, 4, 4);

    port_group_ = new QGroupBox("Port Configuration", gps_settings_panel_);
    auto* port_form = new QFormLayout(port_group_);
    port_form->setContentsMargins(6, 4, 6, 4);
    port_form->setVerticalSpacing(2);
    port_edit_ = setting_box(port_group_, {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"}, "COM1");
    // The adapters and Garmin USB handsets plugged in now, by the names the
    // system gives them and "usb:N".
    for (const std::string& present : gps::present_serial_devices())
        port_edit_->addItem(QString::fromStdString(present));
    for (const std::string& present : gps::present_garmin_usb_devices())
        port_edit_->addItem(QString::fromStdString(present));
    port_edit_->setCurrentText("COM1");
    speed_edit_ = setting_box(port_group_, {"110", "300", "1200", "2400", "4800", "9600", "14400", "19200",
                                          "38400", "57600", "115200"}, "9600");
    data_bits_edit_ = setting_box(port_group_, {"4", "5", "6", "7", "8"}, "8");
    parity_edit_ = setting_box(port_group_, {"N", "E", "O"}, "N");
    stop_bits_edit_ = setting_box(port_group_, {"1", "2"}, "1");
    timeout_edit_ = setting_box(port_group_, {"10", "50", "100", "200", "250", "300", "400", "500", "750",
                                            "1000", "2500", "5000", "10000"}, "100");
    interval_edit_ = setting_box(port_group_, {"2", "5", "8", "10", "20", "30", "40", "50", "75", "100",
                                             "150", "200", "250", "500"}, "10");
    port_form->addRow("Serial Port", port_edit_);
    port_form->addRow("Speed", speed_edit_);
    port_form->addRow("Data Bits", data_bits_edit_);
    port_form->addRow("Parity", parity_edit_);
    port_form->addRow("Stop Bits", stop_bits_edit_);
    port_form->addRow("Timeout [msecs]", timeout_edit_);
    transfer_speed_edit_ = setting_box(port_group_, {"Same as port", "19200", "38400", "57600", "115200"},
                                      "Same as port");
    port_form->addRow("Interval Timeout ", interval_edit_);
    port_form->addRow("Transfer speed", transfer_speed_edit_);
    column->addWidget(port_group_);

    status_log_ = new QPlainTextEdit(gps_settings_panel_);
    status_log_->setReadOnly(true);
    status_log_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    status_log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->addWidget(status_log_, 1);

    misc_group_ = new QGroupBox("Misc Options", gps_settings_panel_);
    auto* misc = new QGridLayout(misc_group_);
    misc->setContentsMargins(6, 4, 6, 4);
    gps_enabled_check_ = new QCheckBox("Enalble GPS", misc_group_);
    gps_enabled_check_->setChecked(true);
    logging_check_ = new QCheckBox("Logging", misc_group_);
    disk_check_ = new QCheckBox("Disk", misc_group_);
    download_button_ = new QPushButton("Download", misc_group_);
    upload_button_ = new QPushButton("Upload", misc_group_);
    initialise_button_ = new QPushButton("Initialise GPS", misc_group_);
    cancel_button_ = new QPushButton("Cancel", misc_group_);
    cancel_button_->setEnabled(false);
    // What Download takes, and how a track becomes a path or a shape.
    waypoints_check_ = new QCheckBox("Waypoints", misc_group_);
    waypoints_check_->setChecked(true);
    tracks_check_ = new QCheckBox("Tracks", misc_group_);
    routes_check_ = new QCheckBox("Routes", misc_group_);
    close_within_edit_ = setting_box(misc_group_, {"0", "10", "25", "50", "100"}, "25");
    close_within_edit_->setToolTip("Metres: a track that ends this near its start becomes a shape; 0 never");
    simplify_edit_ = setting_box(misc_group_, {"0", "1", "2", "5", "10"}, "0");
    simplify_edit_->setToolTip("Metres a track may stray from its simplified line; 0 only to fit a map file");
    download_progress_ = new QProgressBar(misc_group_);
    download_progress_->setRange(0, 100);
    download_progress_->setValue(0);
    download_progress_->setTextVisible(false);
    // The switches on the left, the commands on the right: the captions fit
    // the window's narrow width.
    misc->addWidget(gps_enabled_check_, 0, 0);
    misc->addWidget(logging_check_, 1, 0);
    misc->addWidget(disk_check_, 2, 0);
    misc->addWidget(download_button_, 0, 1);
    misc->addWidget(upload_button_, 1, 1);
    misc->addWidget(initialise_button_, 2, 1);
    misc->addWidget(cancel_button_, 3, 1);
    auto* takes = new QHBoxLayout;
    for (QCheckBox* check : {waypoints_check_, tracks_check_, routes_check_}) takes->addWidget(check);
    misc->addLayout(takes, 4, 0, 1, 2);
    auto* track_form = new QFormLayout;
    track_form->addRow("Close tracks within", close_within_edit_);
    track_form->addRow("Simplify", simplify_edit_);
    misc->addLayout(track_form, 5, 0, 1, 2);
    misc->addWidget(download_progress_, 6, 0, 1, 2);
    column->addWidget(misc_group_);

    const std::pair<QObject*, const char*> names[] = {
        {gps_settings_panel_, "gps_settings_panel"}, {port_group_, "port_group"},
        {port_edit_, "port_edit"},                   {speed_edit_, "speed_edit"},
        {data_bits_edit_, "data_bits_edit"},         {parity_edit_, "parity_edit"},
        {stop_bits_edit_, "stop_bits_edit"},         {timeout_edit_, "timeout_edit"},
        {interval_edit_, "interval_edit"},           {transfer_speed_edit_, "transfer_speed_edit"},
        {status_log_, "status_log"},                 {misc_group_, "misc_group"},
        {gps_enabled_check_, "gps_enabled_check"},   {logging_check_, "logging_check"},
        {disk_check_, "disk_check"},                 {download_button_, "download_button"},
        {upload_button_, "upload_button"},           {initialise_button_, "initialise_button"},
        {cancel_button_, "cancel_button"},           {waypoints_check_, "waypoints_check"},
        {tracks_check_, "tracks_check"},             {routes_check_, "routes_check"},
        {close_within_edit_, "close_within_edit"},   {simplify_edit_, "simplify_edit"},
        {download_progress_, "download_progress"},
    };
    for (const auto& [object, name] : names) object->setObjectName(name);

    // The link takes the switches between jobs; one ticked during a job
    // counts from the next.
    for (QCheckBox* box : {gps_enabled_check_, logging_check_, disk_check_})
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!working()) apply_switches();
        });
    // GPX reads follow the track settings too, so the map holds them as they change.
    for (QComboBox* box : {close_within_edit_, simplify_edit_})
        connect(box, &QComboBox::currentTextChanged, this, [this] {
            doc_.track_reading = read_track_rules(text_of(close_within_edit_), text_of(simplify_edit_));
        });
    connect(initialise_button_, &QPushButton::clicked, this, &Tgps_form::init_gps);
    connect(download_button_, &QPushButton::clicked, this, &Tgps_form::download_gps);
    connect(upload_button_, &QPushButton::clicked, this, &Tgps_form::upload_gps);
    connect(cancel_button_, &QPushButton::clicked, this, &Tgps_form::cancel_transfer);

    // The link's thread reports through these, queued in the order it did.
    connect(&worker_, &link_worker::line_logged, status_log_, [this](const QString& line) {
        // Lines come in bursts, faster than the memo lays itself out: it
        // is taken to its last line each time, not left where it was.
        status_log_->appendPlainText(line);
        QScrollBar* lines = status_log_->verticalScrollBar();
        lines->setValue(lines->maximum());
    });
    connect(&worker_, &link_worker::log_cleared, status_log_, &QPlainTextEdit::clear);
    connect(&worker_, &link_worker::progress_ranged, this, &Tgps_form::progress_range);
    connect(&worker_, &link_worker::progress_stepped, this, &Tgps_form::progress_step);
    connect(&worker_, &link_worker::progress_ended, download_progress_,
            [this] { download_progress_->setValue(download_progress_->minimum()); });
    connect(&worker_, &link_worker::box_asked, this, [this](const QString& message) {
        show_error(message.toStdString());
        worker_.box_dismissed();
    });
    connect(&worker_, &link_worker::finished, this, &Tgps_form::finished);

    apply_switches();
}

void Tgps_form::load_settings(const setting_reader& read)
{
    auto text = [&](std::string_view key, QComboBox* box, const char* fallback) {
        box->setCurrentText(QString::fromStdString(read(key).value_or(fallback)));
    };
    text("port", port_edit_, "COM1");
    text("parity", parity_edit_, "N");
    text("data", data_bits_edit_, "8");
    text("stop", stop_bits_edit_, "1");
    text("timeout", timeout_edit_, "100");
    text("interval", interval_edit_, "10");
    text("transfer_speed", transfer_speed_edit_, "Same as port");
    text("close_within", close_within_edit_, "25");
    text("simplify", simplify_edit_, "0");
    // Stored as 1 or 0; any other whole number but 0 counts as ticked.
    auto ticked = [&](std::string_view key, bool fallback) {
        const auto stored = read(key);
        return stored ? parse_whole_number(*stored).value_or(1) != 0 : fallback;
    };
    logging_check_->setChecked(ticked("logging", true));
    waypoints_check_->setChecked(ticked("get_waypoints", true));
    tracks_check_->setChecked(ticked("get_tracks", false));
    routes_check_->setChecked(ticked("get_routes", false));
    if (!working()) apply_switches();
}

void Tgps_form::save_settings(const setting_writer& write) const
{
    write("port", text_of(port_edit_));
    write("parity", text_of(parity_edit_));
    write("data", text_of(data_bits_edit_));
    write("stop", text_of(stop_bits_edit_));
    write("timeout", text_of(timeout_edit_));
    write("interval", text_of(interval_edit_));
    write("transfer_speed", text_of(transfer_speed_edit_));
    write("logging", logging_check_->isChecked() ? "1" : "0");
    write("get_waypoints", waypoints_check_->isChecked() ? "1" : "0");
    write("get_tracks", tracks_check_->isChecked() ? "1" : "0");
    write("get_routes", routes_check_->isChecked() ? "1" : "0");
    write("close_within", text_of(close_within_edit_));
    write("simplify", text_of(simplify_edit_));
}

void Tgps_form::set_port(const std::string& port) { port_edit_->setCurrentText(QString::fromStdString(port)); }

void Tgps_form::apply_switches()
{
    link.set_gps_enabled(gps_enabled_check_->isChecked());
    link.set_status_logging(logging_check_->isChecked());
    link.set_disk_logging(disk_check_->isChecked());
    link.choice = {waypoints_check_->isChecked(), tracks_check_->isChecked(), routes_check_->isChecked()};
}

void Tgps_form::init_gps() { start(link_worker::job::init); }

void Tgps_form::download_gps() { start(link_worker::job::download); }

void Tgps_form::upload_gps() { start(link_worker::job::upload); }

void Tgps_form::cancel_transfer() { worker_.cancel(); }

void Tgps_form::start(link_worker::job what)
{
    if (working()) return;
    apply_switches();
    gps::port_texts texts;
    texts.port = text_of(port_edit_);
    texts.speed = text_of(speed_edit_);
    texts.data_bits = text_of(data_bits_edit_);
    texts.parity = text_of(parity_edit_);
    texts.stop_bits = text_of(stop_bits_edit_);
    texts.timeout = text_of(timeout_edit_);
    texts.interval = text_of(interval_edit_);
    texts.transfer_speed = text_of(transfer_speed_edit_);
    if (!worker_.start(what, texts, doc_)) return;
    show_working(true);
}

void Tgps_form::finished(link_worker::job what)
{
    // The link wrote into a map of its own; what it brought joins this one now.
    if (what == link_worker::job::download) {
        emit map_changing();
        if (worker_.join_download(doc_)) emit map_changed();
    }
    show_working(false);
}

void Tgps_form::show_working(bool working)
{
    // Nothing that would change the port or start another job while one runs.
    for (QWidget* w : std::initializer_list<QWidget*>{port_group_, download_button_, upload_button_, initialise_button_})
        w->setEnabled(!working);
    cancel_button_->setEnabled(working);
    emit working_changed(working);
}

void Tgps_form::progress_range(int minimum, int maximum)
{
    // A range of one value (a single record) would turn the bar into a busy
    // indicator that never stops: the bar always spans at least one step.
    // The value stays: a download's later transfers widen the range.
    download_progress_->setRange(minimum, std::max(minimum + 1, maximum));
}

void Tgps_form::progress_step()
{
    download_progress_->setValue(std::min(download_progress_->value() + 1, download_progress_->maximum()));
}

} // namespace wayloom
