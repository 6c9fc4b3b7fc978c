// The splash picture: a baseline JPEG compiled into the program, decoded
// with libjpeg. No Qt here; the splash window turns the pixels into an image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace wayloom {

// The picture's size as the splash window shows it, pixels.
inline constexpr std::int32_t splash_width = 520;
inline constexpr std::int32_t splash_height = 420;

struct rgb_picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;  // red, green, blue per pixel; rows top to bottom
};

// Decodes a JPEG into 8-bit RGB. Anything libjpeg cannot read cleanly (not a
// JPEG, cut short, damaged data it would only warn about, or larger than
// 8192 pixels a side) gives nothing, never a half-grey picture.
std::optional<rgb_picture> decode_jpeg(std::span<const std::uint8_t> bytes);

// The JPEG file carried in the program.
std::span<const std::uint8_t> splash_jpeg();

} // namespace wayloom
