// The status line's texts, exactly as shown.
#include "app/status_texts.h"

#include "model/map_class.h"
#include "model/map_document.h"

#include <gtest/gtest.h>

namespace wayloom {
namespace {

TEST(status_texts, read_as_the_status_line_shows_them)
{
    map_document doc;
    t_class& water = *doc.create_class();
    water.name = "water";
    t_class& wild = *doc.create_class();
    wild.name = "wildlife";
    t_shape& pond = doc.create_shape();
    pond.name = "pond";
    pond.classes = {water.number, wild.number, 999};  // a class no longer there is left out
    t_shape& yard = doc.create_shape();
    yard.name = "yard";

    struct row { const char* name; std::string shown, expected; };
    const row rows[] = {
        {"fitted", zoom_text(1), "1\u00d7"},
        {"a notch", zoom_text(1.25L), "1.25\u00d7"},
        {"two notches, rounded", zoom_text(1.5625L), "1.56\u00d7"},
        {"tens: one decimal", zoom_text(12.5L), "12.5\u00d7"},
        {"hundreds: none", zoom_text(9536.74L), "9537\u00d7"},
        {"south and west", position_text(-52.4123456L, -4.05L), "-52.412346, -4.050000"},
        {"classes in brackets", item_text(doc, pond), "pond (water, wildlife)"},
        {"no class", item_text(doc, yard), "yard"},
        {"imports", imported_note(12, 3), "Imported 12 waypoints from 3 files"},
        {"one of each", imported_note(1, 1), "Imported 1 waypoint from 1 file"},
        {"a download", downloaded_note(33, 2.36), "Downloaded 33 waypoints in 2.4 s"},
    };
    for (const row& r : rows) EXPECT_EQ(r.shown, r.expected) << r.name;
}

} // namespace
} // namespace wayloom
