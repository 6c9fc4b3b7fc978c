// The idents a host gives waypoints on a handset. A handset keeps one
// waypoint per ident, so an upload must never send two alike: names are cut
// to what the layout holds, and a cut that is already taken gets a number.
#pragma once

#include "gps/capabilities.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom::gps {

// Whether `reader`'s layout holds a six-character ident (D100 family, D155)
// rather than a string.
bool has_fixed_ident(const record_reader& reader);

// `name` as the handset holds it: accented Latin letters without their
// accent and other characters a handset cannot show as spaces, one per
// character; fixed idents upper-cased and cut or padded to 6 characters,
// string idents cut to 51.
std::string handset_ident(const record_reader& reader, std::string_view name);

// The idents of a whole upload, in order. The first waypoint to get an ident
// keeps it; a later one whose ident is taken has its end replaced by the
// smallest number that no other waypoint of the upload holds: "ORCHAR",
// "ORCHA1", "ORCHA2" ..., "POST-0", "POST-1" ... "POST10".
std::vector<std::string> unique_idents(const record_reader& reader, std::span<const std::string> names);

} // namespace wayloom::gps
