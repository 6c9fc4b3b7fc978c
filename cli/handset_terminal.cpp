#include "cli/handset_terminal.h"

#include <iostream>

namespace wayloom::cli {

void terminal_observer::status_line(std::string_view line)
{
    end_progress();
    std::cerr << line << '\n';
}

void terminal_observer::progress_range(int minimum, int maximum)
{
    total_ = maximum - minimum + 1;
    done_ = 0;
}

void terminal_observer::progress_step()
{
    ++done_;
    std::cerr << "\rwaypoint " << done_ << " of " << total_ << std::flush;
    progress_shown_ = true;
}

void terminal_observer::end_progress()
{
    if (progress_shown_) std::cerr << '\n';
    progress_shown_ = false;
}

bool report(const terminal_observer& seen)
{
    for (const std::string& message : seen.errors) std::cerr << "error: " << message << '\n';
    return seen.errors.empty();
}

void apply_port_options(const parsed_arguments& parsed, gps::gps_link& link)
{
    link.set_status_logging(parsed.has_flag("--log"));
    if (const std::string* v = parsed.option("--port")) link.texts.port = *v;
    if (const std::string* v = parsed.option("--speed")) link.texts.speed = *v;
    if (const std::string* v = parsed.option("--timeout")) link.texts.timeout = *v;
    if (const std::string* v = parsed.option("--interval")) link.texts.interval = *v;
    if (const std::string* v = parsed.option("--transfer-speed")) link.texts.transfer_speed = *v;
}

} // namespace wayloom::cli
