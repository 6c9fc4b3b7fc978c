#include "gps/serial_device.h"

#include "source/number_text.h"

#include <cctype>
#include <limits>

namespace wayloom::gps {

namespace {

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A whole number above 0.
bool whole_number(std::string_view s, long& out)
{
    const auto value = parse_whole_number(s, 1, std::numeric_limits<long>::max());
    if (value) out = static_cast<long>(*value);
    return value.has_value();
}

} // namespace

std::optional<line_settings> parse_line_settings(std::string_view text)
{
    line_settings settings;
    std::size_t at = 0;
    bool any = false;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == ',')) ++at;
        if (at == text.size()) break;
        std::size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != ',') ++end;
        const std::string_view item = text.substr(at, end - at);
        at = end;
        const std::size_t eq = item.find('=');
        if (eq == std::string_view::npos) return std::nullopt;
        const std::string key = lower(item.substr(0, eq));
        const std::string_view value = item.substr(eq + 1);
        long number = 0;
        if (key == "baud") {
            if (!whole_number(value, number)) return std::nullopt;
            settings.baud = number;
        } else if (key == "parity") {
            if (value.size() != 1) return std::nullopt;
            switch (std::toupper(static_cast<unsigned char>(value[0]))) {
            case 'N': settings.parity = parity::none; break;
            case 'E': settings.parity = parity::even; break;
            case 'O': settings.parity = parity::odd; break;
            case 'M': settings.parity = parity::mark; break;
            case 'S': settings.parity = parity::space; break;
            default: return std::nullopt;
            }
        } else if (key == "data") {
            if (!whole_number(value, number) || number < 4 || number > 8) return std::nullopt;
            settings.data_bits = static_cast<int>(number);
        } else if (key == "stop") {
            if (value == "1") settings.stop_bits = stop_bits::one;
            else if (value == "1.5") settings.stop_bits = stop_bits::one_and_half;
            else if (value == "2") settings.stop_bits = stop_bits::two;
            else return std::nullopt;
        } else {
            return std::nullopt;
        }
        any = true;
    }
    if (!any) return std::nullopt;
    return settings;
}

std::string device_path(std::string_view port_name)
{
    if (port_name.size() > 3 && lower(port_name.substr(0, 3)) == "com") {
        long n = 0;
        if (whole_number(port_name.substr(3), n)) return "/dev/ttyS" + std::to_string(n - 1);
    }
    return std::string(port_name);
}

} // namespace wayloom::gps
