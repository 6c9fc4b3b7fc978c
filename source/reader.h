// Reads map source text into a map.
#pragma once

#include "model/map_document.h"
#include "source/text_feed.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace wayloom {

// What one read raised. Each message is an error box in the window, in the
// order raised; the document's error_list then holds the source lines around
// the last one. `completed` is true when the read got past the last command
// without stopping, which is when the steps after the last command ran.
struct read_report {
    std::vector<std::string> errors;
    std::vector<std::string> warnings;  // what was passed over without failing the read
    std::size_t error_line = 0;  // 0-based source line of the last error
    bool completed = false;
    bool missing = false;  // the file could not be opened, so nothing was read

    bool ok() const { return errors.empty(); }
};

// Run after the last command of a read that did not stop: the legend
// analysis, the area estimate, the longitude correction and the projection.
using after_read = std::function<void(map_document&)>;

// Parses the text held in doc.source into the map, adding to what it holds.
// A failure that clears the map removes only what this read added, so a
// merge that fails leaves the map the user had.
read_report read_from_file(map_document& doc, const after_read& after = {});

// Reads the file: into doc.source first when the source keeps its text,
// else a block at a time, leaving doc.source empty but for the text around
// an error. A missing or unreadable file gives "Cant find : " and the name,
// sets `missing`, and nothing is read. A file cut short while it is read
// gives "The file was cut short while it was read" and adds nothing.
read_report read_map(map_document& doc, const std::string& file_name,
                     const after_read& after = {});

// As read_from_file, from whatever text the feed gives, but the error_list
// is not filled: the caller knows where the text's lines are.
read_report read_text(map_document& doc, text_feed& feed, const after_read& after = {});

} // namespace wayloom
