// Writes the map back as map source text.
#pragma once

#include "model/map_document.h"

#include <string>
#include <string_view>

namespace wayloom {

// Regenerates doc.source from the model: the waypoints block, then every
// class, shape and point set in chain order.
void update_map_source(map_document& doc);

// A name as the writer puts it, taken as characters (see plain_letters):
// accented Latin letters lose the accent, and every other character that
// would split or end the word becomes one "_", so the name reads back as
// one word ("Würzbr" is written Wurzbr, "5 €" 5__).
std::string written_name(std::string_view name);

// Regenerates the source and writes it to the file through a temporary file
// in the same folder renamed over it, so the old file survives any failure.
// Returns false with the reason in `error`.
bool save_map(map_document& doc, const std::string& file_name, std::string* error);

// Writes the same text as save_map straight from the model, a block at a
// time, leaving the held source as it is: for a save that needs no held text
// afterwards, at the cost of the model alone in memory.
bool write_map_file(const map_document& doc, const std::string& file_name, std::string* error);

} // namespace wayloom
