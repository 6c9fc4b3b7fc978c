// What the shared save dialog is asked and what it answers, and the file
// name rules applied to its answer. Filters are written "description|*.ext".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom {

struct save_request {
    std::string directory;             // where the dialog starts
    std::vector<std::string> filters;  // "Wayloom map file [wlm]|*.wlm"
    std::string default_extension;     // added to a name typed without one
    std::string file_name;             // proposed name
};

struct save_choice {
    std::string file_name;
    std::size_t filter = 0;  // index into the request's filters
};

// The extension a filter's pattern names: "bmp" for "...|*.bmp", "" for "*.*".
std::string filter_extension(std::string_view filter);
// The description part of a filter: "Windows bitmap [bmp]".
std::string filter_description(std::string_view filter);

// Adds "." + extension when the name's last part has no extension.
std::string add_default_extension(std::string_view file_name, std::string_view extension);

// The file the export writes: under the PNG, PDF or SVG filter a name not
// ending in ".png" (".pdf", ".svg") gets it, so that filter always gives its
// kind of file; otherwise the default extension "bmp" is added to a name
// without one.
std::string export_file_name(const save_choice& choice, const save_request& request);

} // namespace wayloom
