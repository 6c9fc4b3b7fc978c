// The handset commands' link on a terminal: the memo (with --log), the
// progress and the error boxes on standard error, and the port options.
#pragma once

#include "cli/map_loading.h"
#include "gps/gps_link.h"

#include <string>
#include <vector>

namespace wayloom::cli {

class terminal_observer : public gps::link_observer {
public:
    std::vector<std::string> errors;

    void status_line(std::string_view line) override;
    void progress_range(int minimum, int maximum) override;
    void progress_step() override;
    void progress_reset() override { end_progress(); }
    void error_box(std::string_view message) override { errors.emplace_back(message); }

private:
    int total_ = 0, done_ = 0;
    bool progress_shown_ = false;

    void end_progress();
};

// Prints each error as "error: MESSAGE"; true when there was none.
bool report(const terminal_observer& seen);

// The port options every handset command takes (--port, --speed, --timeout,
// --interval, --transfer-speed, --log), applied to the link.
void apply_port_options(const parsed_arguments& parsed, gps::gps_link& link);

} // namespace wayloom::cli
