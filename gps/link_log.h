// The link log: every step of the link as an indented line in the status
// memo and, when asked, time-stamped in the log file ("rave-viz.log" in the
// program's folder). The file is opened and closed around every line.
#pragma once

#include <string>
#include <string_view>

namespace wayloom::gps {

// Where the link's visible effects go: the status memo, the progress bar
// and error boxes. The GPS window, the CLI and tests each bring their own.
// A download's transfers each widen the progress range by their records;
// the steps go on from where they stood until the reset.
class link_observer {
public:
    virtual ~link_observer() = default;
    virtual void status_line(std::string_view line) { (void)line; }
    virtual void clear_status() {}
    virtual void progress_range(int minimum, int maximum) { (void)minimum, (void)maximum; }
    virtual void progress_step() {}
    virtual void progress_reset() {}
    virtual void error_box(std::string_view message) { (void)message; }
};

// The memo line for `text` at `indent` spaces, and the indent after it:
// ">>name" opens a block (the line is "name", two spaces deeper after it),
// "<<anything" closes one (the line is "<<", never below no indent).
std::string indented_line(std::string_view text, int& indent);

class link_log {
public:
    // Creates the file (emptying an earlier one) with its "session started"
    // line; logging to the memo and the file starts switched off.
    link_log(link_observer& observer, std::string file_name);

    void set_status_logging(bool on) { status_logging_ = on; }
    bool status_logging() const { return status_logging_; }
    void set_disk_logging(bool on) { disk_logging_ = on; }

    // One line of the log; nothing unless status logging is on.
    void line(std::string_view text);
    // One time-stamped line in the file, when disk logging is on.
    void file_line(std::string_view text);

private:
    link_observer& observer_;
    std::string file_name_;
    int indent_ = 0;
    bool status_logging_ = false;
    bool disk_logging_ = false;
    bool file_failing_ = false;  // a file failure is being reported: keep it off the file
};

} // namespace wayloom::gps
