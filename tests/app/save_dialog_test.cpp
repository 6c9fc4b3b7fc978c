#include "app/save_dialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace wayloom {
namespace {

TEST(save_dialog, filters)
{
    EXPECT_EQ(filter_extension("Windows bitmap [bmp]|*.bmp"), "bmp");
    EXPECT_EQ(filter_extension("Wayloom map file [wlm]|*.wlm"), "wlm");
    EXPECT_EQ(filter_extension("Anything|*.*"), "");
    EXPECT_EQ(filter_extension("Pictures|*.png;*.bmp"), "png");
    EXPECT_EQ(filter_description("PNG image [png]|*.png"), "PNG image [png]");
}

TEST(save_dialog, default_extension)
{
    EXPECT_EQ(add_default_extension("/t/new", "wlm"), "/t/new.wlm");
    EXPECT_EQ(add_default_extension("/t/new.wlm", "wlm"), "/t/new.wlm");
    EXPECT_EQ(add_default_extension("/t/new.txt", "wlm"), "/t/new.txt");
    EXPECT_EQ(add_default_extension("/t.d/new", "wlm"), "/t.d/new.wlm");
    EXPECT_EQ(add_default_extension("new", "bmp"), "new.bmp");
    EXPECT_EQ(add_default_extension("/t/new", ""), "/t/new");
}

TEST(save_dialog, export_names)
{
    const save_request request{"/t/",
                               {"Windows bitmap [bmp]|*.bmp", "PNG image [png]|*.png",
                                "PDF document [pdf]|*.pdf", "SVG drawing [svg]|*.svg"},
                               "bmp", "new.bmp"};
    struct export_case {
        const char* name;
        save_choice choice;
        const char* expected;
    };
    const std::vector<export_case> cases = {
        {"bitmap_bare_name", {"/t/map", 0}, "/t/map.bmp"},   {"bitmap_named", {"/t/map.bmp", 0}, "/t/map.bmp"},
        {"bitmap_filter_png_name", {"/t/map.png", 0}, "/t/map.png"},
        {"png_bare_name", {"/t/map", 1}, "/t/map.png"},      {"png_named_in_capitals", {"/t/map.PNG", 1}, "/t/map.PNG"},
        {"png_filter_other_extension", {"/t/map.bmp", 1}, "/t/map.bmp.png"},
        {"pdf_bare_name", {"/t/map", 2}, "/t/map.pdf"},      {"svg_filter_png_name", {"/t/map.png", 3}, "/t/map.png.svg"},
        {"filter_past_the_list", {"/t/map", 9}, "/t/map.bmp"},
    };
    for (const export_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(export_file_name(c.choice, request), c.expected);
    }
}

} // namespace
} // namespace wayloom
