// Replacing a file whole: written beside it under a temporary name, then
// renamed over it, so the old file survives any failure.
#pragma once

#include <functional>
#include <string>

namespace wayloom {

// Calls `write` with the temporary file's name; when it succeeds, gives the
// temporary file the old file's permissions (0644 for a new one) and renames
// it over `file_name`. Returns false with the reason in `error`, leaving the
// old file as it was and no temporary file behind.
bool replace_file(const std::string& file_name,
                  const std::function<bool(const std::string& temp, std::string& reason)>& write,
                  std::string* error);

} // namespace wayloom
