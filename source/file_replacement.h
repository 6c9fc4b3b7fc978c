// Replacing a file whole: written beside it under a temporary name, put on
// the disk, then renamed over it, so the old file survives any failure, a
// full disk or the program being killed among them.
#pragma once

#include <functional>
#include <string>

namespace wayloom {

// Calls `write` with the temporary file's name; when it succeeds, gives the
// temporary file the old file's permissions (0644 for a new one) and renames
// it over `file_name`. Returns false with the reason in `error`, leaving the
// old file as it was and no temporary file behind. A file the user may not
// write is left alone ("Permission denied"). A symbolic link stays a link:
// the file at the end of its chain is the one replaced, its temporary file
// beside it. Temporary files of killed saves of the same file go once a save
// succeeds.
bool replace_file(const std::string& file_name,
                  const std::function<bool(const std::string& temp, std::string& reason)>& write,
                  std::string* error);

} // namespace wayloom
