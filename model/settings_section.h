// One section of the settings file as the windows and their rules see it,
// key by key. The file itself (sections, INI rules) is the program's own
// reader and writer in app/ini_file.h; the rules below it only see these.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wayloom {

// A key's text, nothing when the key is missing.
using setting_reader = std::function<std::optional<std::string>(std::string_view key)>;
// Stores a key's text.
using setting_writer = std::function<void(std::string_view key, std::string_view value)>;

} // namespace wayloom
