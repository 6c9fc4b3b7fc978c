// Writing a drawing as vectors, a PDF page or an SVG picture, painted by the
// same QPainter code as the screen: lines, polygons and text stay lines,
// polygons and text, sharp at any enlargement.
#pragma once

#include <QPainter>

#include <functional>
#include <optional>
#include <string>

namespace wayloom {

enum class vector_format { pdf, svg };

// By the name's ending, in any case: ".pdf" or ".svg"; nothing otherwise.
std::optional<vector_format> vector_format_of(const std::string& file_name);

// A page pixel is a screen pixel: markers, ruler ticks and labels keep the
// size they have in the window.
inline constexpr int page_dots_per_inch = 96;
inline constexpr long double millimetres_per_inch = 25.4L;

// Millimetres on the paper as page pixels, and back.
long double page_pixels(long double millimetres);
long double page_millimetres(long double pixels);

// One page `width` × `height` millimetres painted by `paint` on a device of
// page_dots_per_inch whose origin is the page's top-left corner. An SVG's
// size is whole page pixels (its user unit is one page pixel). The file is
// replaced whole or not at all; on failure false with "Cannot create file
// "NAME". reason" in `error`, the reason "The drawing is empty." for a size
// of nothing, as for a picture.
bool save_vector(const std::string& file_name, vector_format format, long double width,
                 long double height, const std::function<void(QPainter&)>& paint,
                 std::string* error);

} // namespace wayloom
