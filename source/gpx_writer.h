// Writes the map as GPX 1.1: every waypoint as a <wpt>, every shape and path
// as a <trk> of one segment through its nodes. Point sets add nothing: their
// points are waypoints already.
#pragma once

#include "model/map_document.h"

#include <string>

namespace wayloom {

// The GPX text. Degrees carry ten decimals (about 0.01 mm), longitudes from
// -180 up to but not including 180; a polygon's segment ends on its first
// node again, a path's does not. A waypoint without an altitude has no <ele>.
// Names keep their characters, escaped for XML; bytes that are not UTF-8 are
// taken as Latin-1.
std::string gpx_text(const map_document& doc);

// Writes the same text to the file, a block at a time, through a temporary
// file renamed over it, as maps are saved. Returns false with the reason in
// `error`.
bool save_gpx(const map_document& doc, const std::string& file_name, std::string* error);

} // namespace wayloom
