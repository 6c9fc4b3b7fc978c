#include "app/splash_picture.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first

#include <jpeglib.h>

namespace wayloom {

namespace detail {
// Written by the build from app/splash.jpg.
extern const unsigned char splash_jpeg_bytes[];
extern const std::size_t splash_jpeg_bytes_size;
} // namespace detail

namespace {

constexpr JDIMENSION largest_side = 8192;

// libjpeg's own error handler ends the process; this one jumps back to the
// decoder, which then reports that the picture could not be read.
struct jump_error_manager {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

[[noreturn]] void jump_back(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<jump_error_manager*>(info->err)->back, 1);
}

// Warnings (level −1) are counted, not printed; traces are dropped.
void count_warnings(j_common_ptr info, int level)
{
    if (level < 0) ++info->err->num_warnings;
}

// Kept free of C++ objects with destructors: a long jump must not skip one.
// `out` is sized before any row is read and only written through.
bool decode_into(const unsigned char* data, unsigned long size, rgb_picture* out)
{
    jpeg_decompress_struct info{};
    jump_error_manager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jump_back;
    errors.base.emit_message = count_warnings;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width > largest_side ||
        info.image_height > largest_side) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const std::size_t row_bytes = std::size_t{info.output_width} * 3;
    out->width = static_cast<std::int32_t>(info.output_width);
    out->height = static_cast<std::int32_t>(info.output_height);
    out->pixels.resize(row_bytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->pixels.data() + row_bytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    // Damaged data only raises warnings and decodes as grey: not our picture.
    const bool clean = errors.base.num_warnings == 0;
    jpeg_destroy_decompress(&info);
    return clean;
}

} // namespace

std::optional<rgb_picture> decode_jpeg(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) return std::nullopt;
    rgb_picture picture;
    if (!decode_into(bytes.data(), static_cast<unsigned long>(bytes.size()), &picture))
        return std::nullopt;
    return picture;
}

std::span<const std::uint8_t> splash_jpeg()
{
    return {detail::splash_jpeg_bytes, detail::splash_jpeg_bytes_size};
}

} // namespace wayloom
