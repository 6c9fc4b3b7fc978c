#include "annotations/scale_ruler.h"

#include "annotations/nudge.h"
#include "model/item_list.h"
#include "model/map_units.h"
#include "view/geometry/projection.h"

#include "source/number_text.h"

#include <algorithm>

namespace wayloom {

namespace {

constexpr std::int32_t tick_length = 5;

// The typed amount, `fallback` when the text is no number.
long double amount_or(const std::string& text, long double fallback)
{
    return parse_real(text).value_or(fallback);
}

std::int32_t tick_for(long double across)
{
    return across > ruler_thickness ? tick_length : round_to_pixel(across / 2);
}

} // namespace

bool map_has_drawing(const view_state& view, const item_list& shape_list)
{
    if (view.building_shape || view.building_set) return true;
    return std::any_of(shape_list.entries.begin(), shape_list.entries.end(),
                       [](const list_entry& e) { return e.selected; });
}

void modify_units(scale_ruler& ruler, const view_state& view, measurement& units)
{
    ruler.extent_x = units.to_units(to_degrees(view.max_lon - view.min_lon));
    ruler.extent_y = units.to_units(to_degrees(view.max_lat - view.min_lat));
    units.units_changed = false;
}

void modify_scale(scale_ruler& ruler, const view_state& view, measurement& units)
{
    // Beyond the extent the amount is cut to it, and below 0 to 0; the box
    // shows the cut in the current orientation.
    const auto cut = [&](long double amount, long double extent, bool shown) {
        const long double held = amount > extent ? extent : amount < 0 ? 0 : amount;
        if (held != amount && shown) ruler.amount = format_general(held);
        return held;
    };
    const long double typed_x = amount_or(ruler.amount, ruler.extent_x);
    const long double typed_y = amount_or(ruler.amount, ruler.extent_y);
    const long double amount_x = cut(typed_x, ruler.extent_x, ruler.horizontal());
    const long double amount_y = cut(typed_y, ruler.extent_y, !ruler.horizontal());
    if (ruler.visible) {
        const long double W = view.fit_width, H = view.fit_height;
        // Only a settings file written by hand places the ruler before the
        // drawing's corner; sums are taken in 64 bits, as a position may
        // come from there near the end of the 32-bit range.
        ruler.x = std::max(ruler.x, 0);
        ruler.y = std::max(ruler.y, 0);
        const auto ends_past = [](std::int32_t at, std::int32_t length, long double limit) {
            return static_cast<long double>(std::int64_t{at} + length) > limit;
        };
        const std::int32_t length_x = round_to_pixel(amount_x / ruler.extent_x * W) - 2;
        if (ruler.w < 0) ruler.x = ruler.w = 0;
        if (ruler.horizontal()) {
            ruler.w = length_x;
            if (ends_past(ruler.x, ruler.w, W)) ruler.x = round_to_pixel(W - length_x);
            if (ends_past(ruler.y, ruler_thickness, H)) ruler.y = round_to_pixel(H) - ruler_thickness;
        } else if (ends_past(ruler.x, ruler_thickness, W)) {
            ruler.x = round_to_pixel(W) - ruler_thickness;
        }
        const std::int32_t length_y = round_to_pixel(amount_y / ruler.extent_y * H) - 2;
        if (ruler.h < 0) ruler.y = ruler.h = 0;
        if (!ruler.horizontal()) {
            ruler.h = length_y;
            if (ends_past(ruler.y, ruler.h, H)) ruler.y = round_to_pixel(H - length_y);
        }
    }
    units.scale_changed = false;
}

long double amount_across(const scale_ruler& ruler)
{
    return std::clamp(amount_or(ruler.amount, ruler.extent_x), 0.0L, std::max(ruler.extent_x, 0.0L));
}

bool prepare_ruler(scale_ruler& ruler, const view_state& view, const item_list& shape_list,
                   measurement& units)
{
    if (!ruler.visible) return false;
    if (!map_has_drawing(view, shape_list)) {
        ruler.visible = false;
        return false;
    }
    if (units.units_changed) modify_units(ruler, view, units);
    if (units.scale_changed) modify_scale(ruler, view, units);
    return true;
}

ruler_picture ruler_layout(const scale_ruler& ruler, const view_state& view, const unit_info& unit,
                           const text_measure& measure)
{
    ruler_picture p;
    const std::string long_label = ruler.amount + " " + std::string(unit.name);
    const std::string short_label = ruler.amount + " " + std::string(unit.abbreviation);
    const std::int32_t x = ruler.x, y = ruler.y;
    if (ruler.horizontal()) {
        const std::int32_t tick = tick_for(view.fit_height);
        p.label = ruler.w >= measure.text_width(long_label) ? long_label : short_label;
        const std::int32_t lw = measure.text_width(p.label);
        const std::int32_t gap = (ruler.w - lw) / 2;
        // A ruler nudged against the right edge ends on the surface's last column.
        const std::int32_t right = drawn_pixel(x + 2 * gap + lw, view.surface.width);
        p.lines = {{x, y, x, y + 2 * tick},
                   {x, y + tick, x + gap, y + tick},
                   {x + gap + lw, y + tick, right, y + tick},
                   {right, y, right, y + 2 * tick}};
        p.label_x = x + gap;
        p.label_y = y;
    } else {
        const std::int32_t tick = tick_for(view.fit_width);
        p.label = short_label;
        const std::int32_t th = measure.text_height(p.label);
        const std::int32_t gap = (ruler.h - th) / 2;
        const std::int32_t bottom = drawn_pixel(y + 2 * gap + th, view.surface.height);
        p.lines = {{x, y, x + 2 * tick, y},
                   {x + tick, y, x + tick, y + gap},
                   {x + tick, y + gap + th, x + tick, bottom},
                   {x, bottom, x + 2 * tick, bottom}};
        p.label_x = std::max(0, x - measure.text_width(p.label) / 2);
        p.label_y = y + gap;
    }
    return p;
}

void nudge_ruler_up(scale_ruler& ruler) { ruler.y = nudge_back(ruler.y, ruler.step); }

void nudge_ruler_left(scale_ruler& ruler) { ruler.x = nudge_back(ruler.x, ruler.step); }

void nudge_ruler_down(scale_ruler& ruler, const view_state& view)
{
    ruler.y = nudge_forward(ruler.y, ruler.step, ruler.horizontal() ? ruler_thickness : ruler.h,
                            view.fit_height);
}

void nudge_ruler_right(scale_ruler& ruler, const view_state& view)
{
    ruler.x = nudge_forward(ruler.x, ruler.step, ruler.horizontal() ? ruler.w : ruler_thickness,
                            view.fit_width);
}

std::int32_t border_percent(std::int32_t position)
{
    return round_to_pixel(static_cast<long double>(position) / max_map_border * 100);
}

std::int32_t border_position(std::int64_t percent)
{
    const std::int64_t held = std::clamp<std::int64_t>(percent, 0, 100);
    return round_to_pixel(static_cast<long double>(held) / 100 * max_map_border);
}

} // namespace wayloom
