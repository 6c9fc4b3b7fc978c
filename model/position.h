// What a shape's node and a set's point have in common: a position in map
// units and the pixel the projection gave it. position_span reaches the
// positions of either kind of item alike, so that one pass serves both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace wayloom {

struct pixel_pos {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const pixel_pos&, const pixel_pos&) = default;
};

struct map_position {
    long double lon = 0;            // map units
    long double corrected_lon = 0;  // map units, set by the longitude correction
    long double lat = 0;            // map units
    pixel_pos pixel;                // set by the projection
};

// The positions of a run of nodes or points, in order. It is built from a
// span of records deriving from map_position and reaches each element
// through that record type, so each record keeps its own size and layout.
template <class Position> class basic_position_span {
    using erased = std::conditional_t<std::is_const_v<Position>, const void*, void*>;

public:
    basic_position_span() = default;
    template <class Record>
        requires std::is_base_of_v<map_position, std::remove_const_t<Record>>
    basic_position_span(std::span<Record> records)
        : records_(records.data()), count_(records.size()),
          element_([](erased all, std::size_t i) -> Position& { return static_cast<Record*>(all)[i]; })
    {
    }

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    Position& operator[](std::size_t i) const { return element_(records_, i); }
    Position& front() const { return (*this)[0]; }
    Position& back() const { return (*this)[count_ - 1]; }

    class iterator {
    public:
        using value_type = std::remove_const_t<Position>;
        using difference_type = std::ptrdiff_t;
        iterator() = default;
        iterator(const basic_position_span* span, std::size_t i) : span_(span), i_(i) {}
        Position& operator*() const { return (*span_)[i_]; }
        iterator& operator++()
        {
            ++i_;
            return *this;
        }
        iterator operator++(int)
        {
            iterator was = *this;
            ++i_;
            return was;
        }
        friend bool operator==(const iterator& a, const iterator& b) { return a.i_ == b.i_; }

    private:
        const basic_position_span* span_ = nullptr;
        std::size_t i_ = 0;
    };
    iterator begin() const { return {this, 0}; }
    iterator end() const { return {this, count_}; }

private:
    erased records_ = nullptr;
    std::size_t count_ = 0;
    Position& (*element_)(erased, std::size_t) = nullptr;
};

using position_span = basic_position_span<map_position>;
using const_position_span = basic_position_span<const map_position>;

} // namespace wayloom
