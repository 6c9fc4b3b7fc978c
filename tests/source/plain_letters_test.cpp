#include "source/plain_letters.h"

#include <gtest/gtest.h>

namespace wayloom {
namespace {

TEST(plain_letters, one_character_gives_one_character)
{
    struct row {
        const char* name;
        std::string text;
        std::string plain;  // with '_' for any other character
    };
    const row rows[] = {
        {"ascii stays", "Gate & stile-2", "Gate & stile-2"},
        {"accents go", "Starom\xC4\x9Bstsk\xC3\xA9 n\xC3\xA1m\xC4\x9Bst\xC3\xAD", "Staromestske namesti"},
        {"upper case too", "\xC3\x89TANG \xC5\x81\xC3\x93" "D\xC5\xB9", "ETANG LODZ"},
        {"a combining accent belongs to its letter", "Wu\xCC\x88rzbr", "Wurzbr"},
        {"an accent on nothing is a character", "\xCC\x84\xCC\x84", "_"},
        {"sharp s and stroke", "Stra\xC3\x9F" "e \xC3\x98re", "Strase Ore"},
        {"euro sign is one character", "5\xE2\x82\xAC", "5_"},
        {"no Latin letter", "\xCE\xA9\xC3\x97\xF0\x9F\x8C\xB2x", "___x"},
        {"Latin-1 bytes", "caf\xE9 \xC0", "cafe A"},
        {"cut short", "ab\xC3", "abA"},
    };
    for (const row& r : rows) EXPECT_EQ(plain_letters(r.text, '_'), r.plain) << r.name;
}

} // namespace
} // namespace wayloom
