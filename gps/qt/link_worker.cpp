#include "gps/qt/link_worker.h"

#include <QThread>

namespace wayloom {

link_worker::link_worker(std::unique_ptr<gps::serial_device> device, std::string log_file_name, QObject* parent)
    : QObject(parent), link_(map_, std::move(device), *this, std::move(log_file_name))
{
}

link_worker::~link_worker()
{
    if (!thread_) return;
    link_.cancel();
    {
        const std::lock_guard lock(box_mutex_);
        closing_ = true;
        box_open_ = false;
    }
    box_closed_.notify_all();
    thread_->wait();
    delete thread_;
}

bool link_worker::start(job what, const gps::port_texts& texts, const map_document& doc)
{
    if (thread_) return false;
    link_.texts = texts;
    link_.clear_cancel();
    map_.demolish();
    map_.lists_waypoints = false;
    map_.track_reading = doc.track_reading;
    if (what != job::init) {
        for (const t_waypoint* w : doc.waypoints) {
            t_waypoint& copy = map_.create_waypoint();
            const std::int32_t number = copy.number;
            copy = *w;
            copy.number = number;
        }
    }
    copied_ = map_.waypoints.size();
    running_ = what;
    thread_ = QThread::create([this, what] {
        switch (what) {
        case job::init: link_.init_gps(); break;
        case job::download: link_.download_gps(); break;
        case job::upload: link_.upload_gps(); break;
        }
    });
    // Emitted on the job's thread, taken on the window's once the link's
    // signals before it were.
    connect(thread_, &QThread::finished, this, &link_worker::thread_done);
    thread_->start();
    return true;
}

bool link_worker::join_download(map_document& doc) const
{
    // Waypoints past those copied in are new; they join after the window's.
    const auto shift = static_cast<std::int32_t>(doc.waypoints.size()) - static_cast<std::int32_t>(copied_);
    for (std::size_t i = copied_; i < map_.waypoints.size(); ++i) {
        t_waypoint& joined = doc.create_waypoint();
        const std::int32_t number = joined.number;
        joined = *map_.waypoints[i];
        joined.number = number;
    }
    for (const auto& shape : map_.shapes) {
        t_shape& joined = doc.link(std::make_unique<t_shape>(*shape));
        for (t_node& node : joined.nodes)
            if (node.waypoint >= static_cast<std::int32_t>(copied_)) node.waypoint += shift;
        doc.add_item(joined.name, &joined, nullptr);
    }
    if (map_.waypoints.size() == copied_ && map_.shapes.empty()) return false;
    doc.refill_waypoints_list();
    return true;
}

void link_worker::thread_done()
{
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    emit finished(running_);
}

void link_worker::status_line(std::string_view line)
{
    emit line_logged(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
}

void link_worker::error_box(std::string_view message)
{
    std::unique_lock lock(box_mutex_);
    if (closing_) return;
    box_open_ = true;
    emit box_asked(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    box_closed_.wait(lock, [this] { return !box_open_; });
}

void link_worker::box_dismissed()
{
    {
        const std::lock_guard lock(box_mutex_);
        box_open_ = false;
    }
    box_closed_.notify_all();
}

} // namespace wayloom
