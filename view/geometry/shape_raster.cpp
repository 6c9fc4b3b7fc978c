#include "view/geometry/shape_raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace wayloom {

namespace {

std::size_t words_for(std::int64_t bits) { return static_cast<std::size_t>(bits + 63) / 64; }

using detail::parity_up_to_each;

// One row of one shape, as bits: where the fill's parity changes and which
// pixels the outline sets. Bit i stands for column i − 64, so a crossing
// left of the surface (held to −2) still turns the parity from column 0
// on; columns right of the width count for nothing.
struct row_bits {
    std::uint64_t* changes;
    std::uint64_t* pen;
    double held_right;  // positions are held to −2 .. this

    // x in half pixels, held.
    std::int64_t halves_of(double x) const
    {
        return static_cast<std::int64_t>(detail::floor_of(2 * std::clamp(x, -2.0, held_right)));
    }
    // The parity changes at the first pixel whose centre lies right of x;
    // a steep edge's pen sets the pixel holding x.
    static std::int64_t changed_column(std::int64_t halves) { return (halves + 1) >> 1; }
    static std::int64_t pen_column(std::int64_t halves) { return halves >> 1; }

    void change_at(std::int64_t column)
    {
        const auto bit = static_cast<std::size_t>(column + 64);
        changes[bit / 64] ^= std::uint64_t{1} << (bit % 64);
    }

    void pen_at(std::int64_t column)
    {
        const auto bit = static_cast<std::size_t>(column + 64);
        pen[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }

    void cross(double x, bool with_pen)
    {
        const std::int64_t halves = halves_of(x);
        change_at(changed_column(halves));
        if (with_pen) pen_at(pen_column(halves));
    }

    void set(detail::column_run run)
    {
        if (run.first > run.last) return;
        const auto a = static_cast<std::size_t>(run.first + 64), b = static_cast<std::size_t>(run.last + 64);
        for (std::size_t w = a / 64; w <= b / 64; ++w) {
            std::uint64_t bits = ~std::uint64_t{0};
            if (w == a / 64) bits &= ~std::uint64_t{0} << (a % 64);
            if (w == b / 64) bits &= ~std::uint64_t{0} >> (63 - b % 64);
            pen[w] |= bits;
        }
    }
};

} // namespace

void shape_raster::find_reach()
{
    const std::int64_t first = table_.first_row;
    const auto bands = static_cast<std::size_t>((table_.last_row - first) / reach_band + 1);
    reach_left_.assign(bands, std::numeric_limits<std::int64_t>::max());
    reach_right_.assign(bands, std::numeric_limits<std::int64_t>::min());
    if (band_edges_.size() < bands) band_edges_.resize(bands);
    for (std::size_t b = 0; b < bands; ++b) band_edges_[b].clear();
    const auto widen = [&](std::size_t band, double x) {
        const double held = std::clamp(x, -2.0, width_ + 2.0);
        reach_left_[band] = std::min(reach_left_[band], static_cast<std::int64_t>(detail::floor_of(held)) - 1);
        reach_right_[band] = std::max(reach_right_[band], static_cast<std::int64_t>(detail::ceil_of(held)) + 1);
    };
    for (std::size_t i = 0; i < table_.edges.size(); ++i) {
        const detail::pixel_edge& e = table_.edges[i];
        // Only an edge with an end near a side reaches that side's strip.
        if (e.low > reach_strip + 1 && e.high < width_ - reach_strip - 2) continue;
        const std::int64_t top = std::max<std::int64_t>(first, static_cast<std::int64_t>(e.y0));
        const std::int64_t bottom = std::min<std::int64_t>(table_.last_row, static_cast<std::int64_t>(e.y1));
        for (std::int64_t b = (top - first) / reach_band; b <= (bottom - first) / reach_band; ++b) {
            const double y = static_cast<double>(first + b * reach_band);
            const auto band = static_cast<std::size_t>(b);
            band_edges_[band].push_back(static_cast<std::uint32_t>(i));
            if (e.y0 == e.y1) {
                widen(band, e.low);
                widen(band, e.high);
                continue;
            }
            widen(band, detail::x_at(e, std::max(y, e.y0)));
            widen(band, detail::x_at(e, std::min(y + reach_band, e.y1)));
        }
    }
}

bool shape_raster::may_take(std::int64_t r)
{
    if (row_open_[static_cast<std::size_t>(r)] == 0) return false;
    if (free_between(r, reach_strip, width_ - 1 - reach_strip)) return true;
    // A pixel is inside the fill only with an edge crossing its row on
    // each side of it, and on the outline only with an edge through it:
    // no edge reaching a strip, no pixel of it taken.
    const auto band = static_cast<std::size_t>((r - table_.first_row) / reach_band);
    if (free_between(r, reach_left_[band], reach_strip - 1) ||
        free_between(r, width_ - reach_strip, reach_right_[band]))
        strip_rows_.push_back(r);
    return false;
}

bool shape_raster::free_between(std::int64_t r, std::int64_t a, std::int64_t b) const
{
    a = std::max<std::int64_t>(a, 0);
    b = std::min<std::int64_t>(b, width_ - 1);
    if (a > b) return false;
    const std::uint64_t* taken = taken_.data() + static_cast<std::size_t>(r) * words_;
    for (auto w = static_cast<std::size_t>(a / 64); w <= static_cast<std::size_t>(b / 64); ++w) {
        std::uint64_t wanted = ~std::uint64_t{0};
        if (w == static_cast<std::size_t>(a / 64)) wanted &= ~std::uint64_t{0} << (a % 64);
        if (w == static_cast<std::size_t>(b / 64)) wanted &= ~std::uint64_t{0} >> (63 - b % 64);
        if (wanted & ~taken[w]) return true;
    }
    return false;
}

shape_raster::shape_raster(std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                           std::ptrdiff_t stride)
    : pixels_(pixels), width_(std::max(0, width)), height_(std::max(0, height)), stride_(stride),
      words_(words_for(width_)), taken_(words_ * static_cast<std::size_t>(height_), 0),
      row_open_(static_cast<std::size_t>(height_), width_),
      open_(static_cast<std::int64_t>(width_) * height_)
{
    // Row words: one word for the columns left of the surface, then the
    // surface's, then room for runs held to width + 2.
    changes_.assign(words_for(64 + std::int64_t{width_} + 3), 0);
    pen_.assign(changes_.size(), 0);
}

void shape_raster::polygon(std::span<const pixel_pos> corners, std::uint32_t fill, std::uint32_t outline)
{
    paint(corners, true, true, fill, outline);
}

void shape_raster::path(std::span<const pixel_pos> corners, std::uint32_t outline)
{
    paint(corners, false, false, 0, outline);
}

void shape_raster::paint(std::span<const pixel_pos> corners, bool closed, bool filled, std::uint32_t fill,
                         std::uint32_t outline)
{
    if (covered() || width_ == 0) return;
    table_.build(corners, closed, height_);
    if (table_.last_row < table_.first_row) return;
    find_reach();

    struct painter_row : row_bits {
        shape_raster& raster;
        bool filled;
        std::uint32_t fill, outline;

        bool wanted(std::int64_t r) const { return raster.may_take(r); }

        void end(std::int64_t r)
        {
            std::uint64_t* taken = raster.taken_.data() + static_cast<std::size_t>(r) * raster.words_;
            std::uint32_t* line = raster.pixels_ + r * raster.stride_;
            std::int32_t took = 0;
            std::uint64_t inside = 0;  // all ones while inside the fill
            // Word 0 holds the columns left of the surface: only its parity counts.
            for (std::size_t w = 0; w <= raster.words_; ++w) {
                const std::uint64_t area = parity_up_to_each(std::exchange(changes[w], 0)) ^ inside;
                inside = std::uint64_t{0} - (area >> 63);
                const std::uint64_t outlined = std::exchange(pen[w], 0);
                if (w == 0) continue;
                std::uint64_t mine = ((filled ? area : 0) | outlined) & ~taken[w - 1];
                const std::int64_t left = static_cast<std::int64_t>(w - 1) * 64;
                if (raster.width_ - left < 64) mine &= ~(~std::uint64_t{0} << (raster.width_ - left));
                if (mine == 0) continue;
                taken[w - 1] |= mine;
                took += std::popcount(mine);
                for (; mine != 0; mine &= mine - 1) {
                    const int bit = std::countr_zero(mine);
                    line[left + bit] = (outlined >> bit) & 1 ? outline : fill;
                }
            }
            // Runs held past the width leave bits beyond the last word read.
            for (std::size_t w = raster.words_ + 1; w < raster.pen_.size(); ++w) changes[w] = pen[w] = 0;
            raster.row_open_[static_cast<std::size_t>(r)] -= took;
            raster.open_ -= took;
        }
    };
    strip_rows_.clear();
    painter_row row{{changes_.data(), pen_.data(), width_ + 2.0}, *this, filled, fill, outline};
    detail::walk_rows(table_, steep_, shallow_, width_, row);

    // Rows free in the strips only, from the edges that reach them. A
    // crossing between the strips changes the parity of pixels all taken;
    // those crossings are left out, and as a closed outline crosses a row
    // an even number of times, one change where the middle begins stands
    // for them all when the crossings kept are odd in number.
    for (const std::int64_t r : strip_rows_) {
        const double y = static_cast<double>(r), centre = y + 0.5;
        bool odd = false;
        for (const std::uint32_t i : band_edges_[static_cast<std::size_t>((r - table_.first_row) / reach_band)]) {
            const detail::pixel_edge& e = table_.edges[i];
            if (e.y0 > y || e.y1 < y) continue;
            if (y < e.y1) {
                const std::int64_t halves = row.halves_of(detail::x_at(e, centre));
                const std::int64_t column = painter_row::changed_column(halves);
                if (column < reach_strip || column >= width_ - reach_strip) {
                    row.change_at(column);
                    odd = !odd;
                }
                if (e.steep) {
                    row.pen_at(painter_row::pen_column(halves));
                    continue;
                }
            } else if (e.steep) {
                row.set(detail::outline_run(e, y, width_));
                continue;
            }
            row.set(detail::outline_run(e, y, width_));
        }
        if (closed && odd) row.change_at(reach_strip);
        row.end(r);
    }
}

} // namespace wayloom
