#include "view/geometry/polygon_pixels.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

namespace wayloom {

namespace {

using detail::ceil_of;
using detail::column_run;
using detail::floor_of;
using detail::make_edge;
using detail::outline_run;
using detail::parity_up_to_each;
using detail::pixel_edge;
using detail::x_at;

// floor, straight to a whole number.
std::int64_t floor_to_int(double v)
{
    const auto t = static_cast<std::int64_t>(v);
    return t - (static_cast<double>(t) > v);
}

// One row of the count as rows of bits: where the fill's inside/outside
// parity changes, and which pixels the outline sets. Folding them gives the
// row's pixels without ever ordering the crossings or the runs. A row of
// few edges also marks the words (or, on a very wide row, the blocks of
// words) it sets bits in and visits only those, whatever its width; a row
// of many visits them all, which costs less than marking.
//
// Bit i stands for column i − 64: a word on the left takes the columns down
// to −64, where a crossing left of the counted columns changes the parity
// from column 0 on, and words on the right take those past the width, which
// count for nothing. Positions held to −2 .. width + 2 therefore need no
// test before their bit is set. The words on the right are never marked, so
// never read: a mark there goes to the last counted word instead.
class bit_row {
public:
    // `stored` holds stored_words(width) zeros and is left so.
    bit_row(std::span<std::uint64_t> stored, std::int32_t width)
        : width_(width), held_right_(width + 2.0), last_(words(width)),
          last_word_(width % 64 ? ~(~std::uint64_t{0} << (width % 64)) : ~std::uint64_t{0}),
          words_(stored.data())
    {
        while ((last_ >> block_shift_) >= 64) ++block_shift_;
    }

    // The parity changes and the outline of each word, side by side.
    static std::size_t stored_words(std::int32_t width) { return 2 * words(64 + std::int64_t{width} + 3); }

    std::int32_t width() const { return width_; }

    void start(std::size_t edges) { marking_ = edges < last_; }

    // The fill's parity changes at the first pixel whose centre lies right
    // of x: a centre exactly on a crossing counts as left of it, so a pair
    // of crossings holds the pixels centred in (left, right]. A steep edge's
    // pen sets the pixel holding x. Both come from the half-pixel holding x:
    // floor(x − 0.5) + 1 = floor(x + 0.5) = (floor(2x) + 1) / 2, all exact
    // for held positions.
    void cross(double x, bool with_pen)
    {
        const std::int64_t halves = floor_to_int(2 * std::clamp(x, -2.0, held_right_));
        const auto first = static_cast<std::size_t>(((halves + 1) >> 1) + 64);
        words_[first / 64 * 2] ^= std::uint64_t{1} << (first % 64);
        mark(first / 64);
        if (!with_pen) return;
        const auto pen = static_cast<std::size_t>((halves >> 1) + 64);
        words_[pen / 64 * 2 + 1] |= std::uint64_t{1} << (pen % 64);
        mark(pen / 64);
    }

    // Sets the pixels of a run held to −2 .. width + 2.
    void set(column_run run)
    {
        if (run.first > run.last) return;
        const auto a = static_cast<std::size_t>(run.first + 64), b = static_cast<std::size_t>(run.last + 64);
        const std::uint64_t from_a = ~std::uint64_t{0} << (a % 64);
        const std::uint64_t to_b = ~std::uint64_t{0} >> (63 - b % 64);
        for (std::size_t w = a / 64; w <= b / 64; ++w) {
            const std::uint64_t all = ~std::uint64_t{0};
            words_[w * 2 + 1] |= (w == a / 64 ? from_a : all) & (w == b / 64 ? to_b : all);
            mark(w);
        }
    }

    // The row's covered pixels; leaves every marked word clear.
    std::int64_t fold()
    {
        std::int64_t counted = 0;
        std::uint64_t inside = 0;  // all ones while inside the fill
        std::size_t unmarked = 1;  // first counted word not yet counted
        const std::uint64_t all = ~std::uint64_t{0} >> (63 - (last_ >> block_shift_));
        for (std::uint64_t marks = marking_ ? std::exchange(marks_, 0) : all; marks != 0; marks &= marks - 1) {
            const std::size_t block = static_cast<std::size_t>(std::countr_zero(marks));
            const std::size_t end = std::min((block + 1) << block_shift_, last_ + 1);
            for (std::size_t w = block << block_shift_; w < end; ++w) {
                // Unmarked words between are wholly inside or wholly outside
                // (the left word, if marked, comes first, while outside).
                counted += static_cast<std::int64_t>((inside & 64) * (w - unmarked));
                const std::uint64_t fill = parity_up_to_each(std::exchange(words_[w * 2], 0)) ^ inside;
                inside = std::uint64_t{0} - (fill >> 63);
                const std::uint64_t covered = (fill | std::exchange(words_[w * 2 + 1], 0)) & counted_columns(w);
                counted += std::popcount(covered);
                unmarked = w + 1;
            }
        }
        // Past the last mark the row stays inside to its end, or outside.
        if (inside != 0 && unmarked <= last_)
            counted += width_ - static_cast<std::int64_t>(unmarked - 1) * 64;
        return counted;
    }

private:
    static std::size_t words(std::int64_t bits) { return static_cast<std::size_t>(bits + 63) / 64; }

    std::uint64_t counted_columns(std::size_t word) const
    {
        return word == 0 ? 0 : word == last_ ? last_word_ : ~std::uint64_t{0};
    }

    void mark(std::size_t word)
    {
        if (marking_) marks_ |= std::uint64_t{1} << (std::min(word, last_) >> block_shift_);
    }

    std::int32_t width_;
    double held_right_;        // positions are held to −2 .. this
    std::size_t last_;         // the last counted word
    std::uint64_t last_word_;  // its columns inside the width
    std::uint64_t* words_;
    bool marking_ = true;
    std::uint64_t marks_ = 0;
    int block_shift_ = 0;      // words per mark: 1 << block_shift_
};

// Drops the edges that ended above row y; their order does not matter.
void drop_ended(std::vector<pixel_edge>& active, double y)
{
    std::erase_if(active, [y](const pixel_edge& e) { return e.y1 < y; });
}

// The rows from first to last, each with the edges that reach it; `edges`
// by top row. Steep and shallow edges are kept apart, so that the loop over
// the many steep ones never branches on which kind an edge is. Built for
// the processor's own bit count (the plain one costs a row of few edges a
// tenth of its time) and for the newer instruction sets on x86-64;
// the build keeps every sum and product rounded on its own, as the
// reference count rounds them.
#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::target_clones("arch=x86-64-v3", "popcnt", "default")]]
#endif
std::int64_t count_rows(std::span<const pixel_edge> edges, std::vector<pixel_edge>& steep,
                        std::vector<pixel_edge>& shallow, std::span<std::uint64_t> stored,
                        std::int32_t width, std::int64_t first_row, std::int64_t last_row)
{
    bit_row bits(stored, width);
    std::int64_t count = 0;
    std::size_t next = 0;
    bool ended = true;  // some edge ended on the row before; on the first, some may have
    for (std::int64_t r = first_row; r <= last_row; ++r) {
        const double y = static_cast<double>(r);
        for (; next < edges.size() && edges[next].y0 <= y; ++next)
            (edges[next].steep ? steep : shallow).push_back(edges[next]);
        if (std::exchange(ended, false)) {
            drop_ended(steep, y);
            drop_ended(shallow, y);
        }
        bits.start(steep.size() + shallow.size());
        // The pixel centre line of this row; corners sit on whole rows,
        // so it never passes through one.
        const double centre = y + 0.5;
        for (const pixel_edge& e : steep) {
            if (y < e.y1) {
                // The pen sets the pixel the edge crosses the centre line in.
                bits.cross(x_at(e, centre), true);
            } else {
                bits.set(outline_run(e, y, bits.width()));
                ended = true;
            }
        }
        for (const pixel_edge& e : shallow) {
            if (y < e.y1) bits.cross(x_at(e, centre), false);
            else ended = true;
            bits.set(outline_run(e, y, bits.width()));
        }
        count += bits.fold();
    }
    return count;
}

} // namespace

std::int64_t count_polygon_pixels(std::span<const pixel_pos> corners, std::int32_t width,
                                  std::int32_t height)
{
    return polygon_pixel_counter{}.count(corners, width, height);
}

std::int64_t polygon_pixel_counter::count(std::span<const pixel_pos> corners, std::int32_t width,
                                          std::int32_t height)
{
    if (corners.empty() || width <= 0 || height <= 0) return 0;

    edges_.clear();
    for (std::size_t i = 0; i < corners.size(); ++i)
        edges_.push_back(make_edge(corners[i], corners[(i + 1) % corners.size()]));
    std::sort(edges_.begin(), edges_.end(),
              [](const pixel_edge& a, const pixel_edge& b) { return a.y0 < b.y0; });
    double bottom_edge = edges_.front().y0;
    for (const pixel_edge& e : edges_) bottom_edge = std::max(bottom_edge, e.y1);
    const std::int64_t first_row = std::max<std::int64_t>(0, static_cast<std::int64_t>(edges_.front().y0));
    const std::int64_t last_row = std::min<std::int64_t>(height - 1, static_cast<std::int64_t>(bottom_edge));

    bits_.assign(bit_row::stored_words(width), 0);
    steep_.clear();
    shallow_.clear();
    return count_rows(edges_, steep_, shallow_, bits_, width, first_row, last_row);
}

} // namespace wayloom
