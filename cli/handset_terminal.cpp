#include "cli/handset_terminal.h"

#include "cli/option_values.h"

#include <atomic>
#include <csignal>
#include <iterator>
#include <iostream>

namespace wayloom::cli {

namespace {

gps::gps_link* cancelled_link = nullptr;
constexpr int cancelling[] = {SIGINT, SIGTERM};
struct sigaction before[std::size(cancelling)];  // what the signals did before

static_assert(std::atomic<bool>::is_always_lock_free, "the handler stores to an atomic flag");

void cancel_transfer(int)
{
    if (cancelled_link) cancelled_link->cancel();
}

} // namespace

cancel_on_signals::cancel_on_signals(gps::gps_link& link)
{
    cancelled_link = &link;
    struct sigaction action {};
    action.sa_handler = cancel_transfer;
    sigemptyset(&action.sa_mask);
    // The first signal cancels; the next one does what a signal does by default.
    action.sa_flags = SA_RESETHAND;
    for (std::size_t i = 0; i < std::size(cancelling); ++i) sigaction(cancelling[i], &action, &before[i]);
}

cancel_on_signals::~cancel_on_signals()
{
    for (std::size_t i = 0; i < std::size(cancelling); ++i) sigaction(cancelling[i], &before[i], nullptr);
    cancelled_link = nullptr;
}

void terminal_observer::status_line(std::string_view line)
{
    end_progress();
    std::cerr << line << '\n';
}

void terminal_observer::progress_range(int minimum, int maximum)
{
    // A download's later transfers add their records to the count.
    total_ = maximum - minimum + 1;
}

void terminal_observer::progress_step()
{
    ++done_;
    std::cerr << "\rrecord " << done_ << " of " << total_ << std::flush;
    progress_shown_ = true;
}

void terminal_observer::progress_reset()
{
    end_progress();
    done_ = 0;
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

std::optional<std::string> read_port_options(const parsed_arguments& parsed, gps::port_texts& texts)
{
    // The link reads the numbers as the GPS window's boxes give them; here
    // they are checked first, and passed on in plain digits.
    const struct {
        const char* option;
        std::int64_t highest;
        std::string* text;
    } numbers[] = {{"--speed", fastest_line, &texts.speed},
                   {"--transfer-speed", fastest_line, &texts.transfer_speed},
                   {"--timeout", longest_wait_ms, &texts.timeout},
                   {"--interval", longest_wait_ms, &texts.interval}};
    for (const auto& n : numbers) {
        std::int64_t value = 0;
        if (auto wrong = read_whole_option(parsed, n.option, 1, n.highest, {&value, 1})) return wrong;
        if (parsed.option(n.option)) *n.text = std::to_string(value);
    }
    if (const std::string* port = parsed.option("--port")) texts.port = *port;
    return std::nullopt;
}

} // namespace wayloom::cli
