// The area report: how much of a reference shape, the perimeter, chosen
// shapes or classes cover. Areas are not computed here: each shape keeps the
// area the map view estimated (square map units); the report converts them
// into the chosen unit squared and sums them. The text is what the
// statistics window writes to its file and wayloom-cli stats prints.
#pragma once

#include "view/geometry/units.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom {

struct map_document;
struct t_class;
struct t_shape;

enum class report_mode { classes, shapes };

struct report_choice {
    const t_shape* perimeter = nullptr;
    report_mode mode = report_mode::shapes;
    std::vector<const t_shape*> shapes;   // the selected shapes, in list order (Shapes)
    std::vector<const t_class*> classes;  // the selected classes, in list order (Classes)
    unit_choice unit;
    // The area a shape encloses on the WGS84 ellipsoid, square metres. When
    // given, every area line is followed by that area in the unit squared.
    std::function<double(const t_shape&)> ellipsoidal_area;
};

// The report's lines without their line ends. Nothing without a perimeter.
// A shape in several selected classes counts in each class but once in the
// total. A perimeter of area 0 gives the percentages as "undefined".
std::vector<std::string> report_lines(const map_document& doc, const report_choice& choice);

// The lines as the file holds them: each followed by CR LF.
std::string report_text(const std::vector<std::string>& lines);

// The shortest general form with up to 15 significant digits, cut (not
// rounded) two characters after a "."; in exponent form the cut applies to
// the digits before the exponent and the exponent stays: 12.3456 gives
// 12.34, 7 gives 7, 0.5 gives 0.5, 1.23456e-05 gives 1.23e-05.
std::string format_number(long double value);

} // namespace wayloom
