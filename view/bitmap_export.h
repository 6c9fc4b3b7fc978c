// Writing a drawing to an image file.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>

namespace wayloom {

// True when the name ends in ".png", in any case.
bool is_png_name(const std::string& file_name);

// Writes the rectangle (0, 0, width, height) of `source` to `file_name`: a
// PNG when the name ends in ".png", otherwise a 24-bit Windows bitmap.
// Returns false with the message to show in `error` (the file name and the
// reason) when the file cannot be written; an old file of that name is then
// left as it was.
bool save_bitmap(const QImage& source, std::int32_t width, std::int32_t height,
                 const std::string& file_name, std::string* error);

} // namespace wayloom
