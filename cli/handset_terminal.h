// The handset commands' link on a terminal: the memo (with --log), the
// progress and the error boxes on standard error, and the port options.
#pragma once

#include "cli/map_loading.h"
#include "gps/gps_link.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wayloom::cli {

class terminal_observer : public gps::link_observer {
public:
    std::vector<std::string> errors;

    void status_line(std::string_view line) override;
    void progress_range(int minimum, int maximum) override;
    void progress_step() override;
    void progress_reset() override;
    void error_box(std::string_view message) override { errors.emplace_back(message); }

private:
    int total_ = 0, done_ = 0;
    bool progress_shown_ = false;

    void end_progress();
};

// Prints each error as "error: MESSAGE"; true when there was none.
bool report(const terminal_observer& seen);

// While one lives, Ctrl+C (SIGINT) and SIGTERM ask the link to cancel its
// transfer instead of ending the program, so that the handset is told to
// stop and the line goes back to its speed; a second signal ends the
// program as usual.
class cancel_on_signals {
public:
    explicit cancel_on_signals(gps::gps_link& link);
    ~cancel_on_signals();
    cancel_on_signals(const cancel_on_signals&) = delete;
    cancel_on_signals& operator=(const cancel_on_signals&) = delete;
};

// The exit code of a command the user interrupted, as a shell gives it.
inline constexpr int cancelled_exit_code = 130;

// The fastest line a serial port on Linux takes, bits per second, and the
// longest read time-out and interval an option may ask for, milliseconds.
inline constexpr std::int64_t fastest_line = 4'000'000;
inline constexpr std::int64_t longest_wait_ms = 600'000;

// The port options every handset command takes (--port, --speed,
// --transfer-speed, --timeout, --interval) into `texts`, which keep their
// values for the options not given. Returns the usage problem of a number
// that is not a whole number in its range.
std::optional<std::string> read_port_options(const parsed_arguments& parsed, gps::port_texts& texts);

} // namespace wayloom::cli
