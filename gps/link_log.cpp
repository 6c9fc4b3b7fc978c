#include "gps/link_log.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace wayloom::gps {

namespace {

std::string clock_text(const char* format, bool milliseconds)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&t, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    std::string out = text;
    if (milliseconds) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
        char part[8];
        std::snprintf(part, sizeof part, ".%03d", static_cast<int>(ms));
        out += part;
    }
    return out;
}

} // namespace

std::string indented_line(std::string_view text, int& indent)
{
    if (text.substr(0, 2) == ">>") {
        std::string line = std::string(static_cast<std::size_t>(indent), ' ') + std::string(text.substr(2));
        indent += 2;
        return line;
    }
    if (text.substr(0, 2) == "<<") {
        indent = indent >= 2 ? indent - 2 : 0;
        return std::string(static_cast<std::size_t>(indent), ' ') + "<<";
    }
    return std::string(static_cast<std::size_t>(indent), ' ') + std::string(text);
}

link_log::link_log(link_observer& observer, std::string file_name)
    : observer_(observer), file_name_(std::move(file_name))
{
    std::FILE* file = std::fopen(file_name_.c_str(), "w");
    if (!file) {
        line("cant create log file : " + file_name_);
        return;
    }
    const std::string first = clock_text("%Y-%m-%d %H:%M:%S", false) + " : session started\n";
    if (std::fputs(first.c_str(), file) < 0) line(std::string("failed to open log : ") + std::strerror(errno));
    std::fclose(file);
}

void link_log::line(std::string_view text)
{
    if (!status_logging_) return;
    const std::string shown = indented_line(text, indent_);
    observer_.status_line(shown);
    file_line(shown);
}

void link_log::file_line(std::string_view text)
{
    if (!disk_logging_ || file_failing_) return;
    std::FILE* file = std::fopen(file_name_.c_str(), "a");
    // A failure is reported through the memo only: writing it to the file
    // that just failed would go round for ever.
    file_failing_ = true;
    if (!file) {
        line("cant open log : " + file_name_);
    } else {
        const std::string stamped = clock_text("%H:%M:%S", true) + " : " + std::string(text) + "\n";
        if (std::fputs(stamped.c_str(), file) < 0) line(std::string("failed to write to log : ") + std::strerror(errno));
        if (std::fclose(file) != 0) line("failed to close : " + file_name_ + " : " + std::to_string(errno));
    }
    file_failing_ = false;
}

} // namespace wayloom::gps
