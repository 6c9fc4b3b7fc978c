// The link on a thread of its own, so that the window paints, moves and
// resizes while the handset talks. Start-up, download and upload run there
// on the same Qt-free session the command line runs; what the link shows
// comes back through queued signals in the order it happened. An error box
// holds the link until the window has shown it and the user dismissed it,
// as it would on one thread. The link works on a map of its own: the
// window's waypoints and track rules are copied into it when a job starts
// (an upload sends them; a download's routes refer to those they repeat),
// and what a download brings joins the window's map on the window's thread
// when it ends.
#pragma once

#include "gps/gps_link.h"
#include "model/map_document.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

class QThread;

namespace wayloom {

class link_worker : public QObject, private gps::link_observer {
    Q_OBJECT
public:
    enum class job { init, download, upload };

    link_worker(std::unique_ptr<gps::serial_device> device, std::string log_file_name, QObject* parent = nullptr);
    // Cancels a running job, lets go of a box it waits on and waits for it.
    ~link_worker() override;

    // Starts `what` with these port texts unless a job runs; an upload
    // sends the waypoints `doc` holds now. `doc` must keep its waypoints
    // until the job ends.
    bool start(job what, const gps::port_texts& texts, const map_document& doc);
    bool running() const { return thread_ != nullptr; }
    // Any thread.
    void cancel() { link_.cancel(); }
    // Between jobs only: its switches, what the last start-up learnt.
    gps::gps_link& link() { return link_; }
    // Between jobs: appends to `doc` what the last download brought (its
    // waypoints, paths and shapes, nodes on the same waypoints); false when
    // it brought nothing.
    bool join_download(map_document& doc) const;
    // The window showed the box the link waits on, and it was dismissed.
    void box_dismissed();

signals:
    void line_logged(const QString& line);
    void log_cleared();
    void progress_ranged(int minimum, int maximum);
    void progress_stepped();
    void progress_ended();
    void box_asked(const QString& message);
    void finished(link_worker::job what);

private:
    // What the link shows, on its thread.
    void status_line(std::string_view line) override;
    void clear_status() override { emit log_cleared(); }
    void progress_range(int minimum, int maximum) override { emit progress_ranged(minimum, maximum); }
    void progress_step() override { emit progress_stepped(); }
    void progress_reset() override { emit progress_ended(); }
    void error_box(std::string_view message) override;

    void thread_done();

    map_document map_;
    std::size_t copied_ = 0;  // the window's waypoints the job started with
    gps::gps_link link_;
    QThread* thread_ = nullptr;
    job running_ = job::init;
    std::mutex box_mutex_;
    std::condition_variable box_closed_;
    bool box_open_ = false, closing_ = false;
};

} // namespace wayloom
