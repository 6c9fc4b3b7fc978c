// What many tests need: a whole file's bytes as written, to compare exactly.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace wayloom::testing {

// The file's bytes; a missing or unreadable file gives "".
inline std::string read_text(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace wayloom::testing
