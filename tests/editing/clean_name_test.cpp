#include "editing/clean_name.h"

#include <gtest/gtest.h>

#include <vector>

namespace wayloom {
namespace {

TEST(clean_name, replaces_what_would_split_a_word_and_numbers_empty_names)
{
    struct row { const char* name; const char* text; const char* cleaned; };
    const std::vector<row> rows = {
        {"plain", "forest", "forest"},
        {"every replaced character", "a\tb c+d-e.f{g}h", "a_b_c_d_e_f_g_h"},
        {"braces alone", "{}", "__"},
        {"letters above 127 stay", "f\xc3\xb8rest h\xc3\xa5", "f\xc3\xb8rest_h\xc3\xa5"},
        {"other punctuation stays", "a/b;c=d\"e'", "a/b;c=d\"e'"},
    };
    std::int32_t counter = 1;
    for (const row& r : rows) EXPECT_EQ(clean_name(r.text, counter), r.cleaned) << r.name;
    EXPECT_EQ(counter, 1) << "only empty names count";
    EXPECT_EQ(clean_name("", counter), "no-name1");
    EXPECT_EQ(clean_name("", counter), "no-name2");
    EXPECT_EQ(counter, 3);
}

} // namespace
} // namespace wayloom
