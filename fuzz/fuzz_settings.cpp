// Feeds arbitrary bytes as the settings file. Reading any value must not
// crash; what the program reads must be the same after the file is written
// and read again; and a value written must read back as written.
#include "app/ini_file.h"

#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace wayloom;

void check(bool holds)
{
    if (!holds) std::abort();
}

// The reader takes a file name; a file in memory keeps the runs quick.
const std::string& file_name()
{
    static const std::string name = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                     "/wayloom-fuzz-" + std::to_string(::getpid()) + ".ini";
    return name;
}

ini_file settings_from(std::string_view text)
{
    {
        std::ofstream out(file_name(), std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return ini_file(file_name());
}

// The section and key names the file itself uses, as a reader would ask for them.
std::vector<std::pair<std::string, std::string>> names_in(std::string_view text)
{
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    while (!text.empty() && names.size() < 64) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.front() == '[') {
            section = std::string(line.substr(1, line.find(']') - 1));
        } else if (const auto equals = line.find('='); equals != std::string_view::npos) {
            names.emplace_back(section, std::string(line.substr(0, equals)));
        }
    }
    return names;
}

std::string plain(std::string_view text)
{
    std::string out;
    for (const char c : text)
        if (std::isalnum(static_cast<unsigned char>(c))) out += c;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ini_file settings = settings_from(text);
    const auto names = names_in(text);

    std::vector<std::string> values;
    for (const auto& [section, key] : names) {
        values.push_back(settings.read_string(section, key, "missing"));
        settings.read_integer(section, key, -1);
        settings.read_bool(section, key, true);
    }
    // Written and read again, every value reads the same.
    const ini_file again = settings_from(settings.text());
    for (std::size_t i = 0; i < names.size(); ++i)
        check(again.read_string(names[i].first, names[i].second, "missing") == values[i]);

    // A value written into the file read back, with names from the file.
    const std::string section = plain(text.substr(0, 8)) + "s";
    const std::string key = plain(text.substr(std::min<std::size_t>(8, size), 8)) + "k";
    settings.write_integer(section, key, static_cast<std::int64_t>(size) - 100);
    check(settings.read_integer(section, key, 0) == static_cast<std::int64_t>(size) - 100);
    settings.write_string(section, key, "Value");
    check(settings_from(settings.text()).read_string(section, key, "") == "Value");
    return 0;
}
