// Painting shapes straight into an image's 32-bit pixels, with the pixels
// the area estimate counts: the fill where a pixel's centre is inside
// (even-odd), a one-pixel outline over it. Shapes come front to back, the
// one painted last first, and each takes only pixels no shape before it
// took: the picture painting them back to front would leave, each pixel
// written once. Once every pixel is taken the shapes further back cannot
// show and need not be given: a map of hundreds of large shapes costs the
// few in front.
#pragma once

#include "model/position.h"
#include "view/geometry/polygon_rows.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace wayloom {

class shape_raster {
public:
    // `pixels` holds `height` rows of `stride` pixels, `width` of them
    // painted; the rows must outlive the raster.
    shape_raster(std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::ptrdiff_t stride);

    // A polygon through `corners`, closed, filled and outlined.
    void polygon(std::span<const pixel_pos> corners, std::uint32_t fill, std::uint32_t outline);
    // Lines from corner to corner, open and unfilled; a lone corner is a dot.
    void path(std::span<const pixel_pos> corners, std::uint32_t outline);

    // Every pixel is taken.
    bool covered() const { return open_ == 0; }

private:
    std::uint32_t* pixels_;
    std::int32_t width_, height_;
    std::ptrdiff_t stride_;
    std::size_t words_;               // claim words per row
    std::vector<std::uint64_t> taken_;    // a bit per pixel, rows of words_
    std::vector<std::int32_t> row_open_;  // pixels not yet taken, per row
    std::int64_t open_;
    // Work buffers, kept from shape to shape.
    detail::edge_table table_;
    std::vector<detail::pixel_edge> steep_, shallow_;
    std::vector<std::uint64_t> changes_, pen_;
    // The pixels last taken lie along the drawing's sides, where few
    // corners come: per band of rows, the columns within the strips along
    // the left and right sides that the shape's edges reach (a pixel to
    // spare). A row whose free pixels all lie in the strips out of reach
    // is passed over.
    static constexpr std::int64_t reach_band = 8;
    static constexpr std::int64_t reach_strip = 16;
    std::vector<std::int64_t> reach_left_, reach_right_;
    // Per band, the edges that reach a strip; and the rows whose free
    // pixels all lie in the strips, painted from those edges alone.
    std::vector<std::vector<std::uint32_t>> band_edges_;
    std::vector<std::int64_t> strip_rows_;

    void find_reach();
    // Whether the shape may take a pixel of row r outside the strips; a
    // row it may take pixels of in the strips only goes to strip_rows_.
    bool may_take(std::int64_t r);
    // Whether row r has a free pixel in columns a .. b.
    bool free_between(std::int64_t r, std::int64_t a, std::int64_t b) const;

    void paint(std::span<const pixel_pos> corners, bool closed, bool filled, std::uint32_t fill,
               std::uint32_t outline);
};

} // namespace wayloom
