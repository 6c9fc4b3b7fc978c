// A settings section held in a map, for the tests of what the windows and
// their rules read and write.
#pragma once

#include "model/settings_section.h"

#include <map>
#include <string>

namespace wayloom::testing {

using settings_map = std::map<std::string, std::string, std::less<>>;

inline setting_reader reader_of(const settings_map& stored)
{
    return [&stored](std::string_view key) -> std::optional<std::string> {
        const auto found = stored.find(key);
        if (found == stored.end()) return std::nullopt;
        return found->second;
    };
}

inline setting_writer writer_to(settings_map& stored)
{
    return [&stored](std::string_view key, std::string_view value) { stored[std::string(key)] = value; };
}

} // namespace wayloom::testing
