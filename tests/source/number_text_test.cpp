#include "source/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <utility>

namespace wayloom {
namespace {

TEST(number_text, only_plain_decimals_are_numbers)
{
    struct row {
        const char* word;
        bool number;
        long double value;
    };
    const row rows[] = {
        {"12", true, 12},          {"-4.052", true, -4.052L}, {"0.5", true, 0.5L},
        {".5", true, 0.5L},        {"5.", true, 5},           {"1E5", true, 1e5L},
        {"2.5e-3", true, 2.5e-3L}, {"-0", true, 0},           {"2024", true, 2024},
        {"", false, 0},            {"-", false, 0},           {".", false, 0},
        {"inf", false, 0},         {"nan", false, 0},         {"0x10", false, 0},
        {"+5", false, 0},          {"1e", false, 0},          {"1e-", false, 0},
        {"1.2.3", false, 0},       {"1-2", false, 0},         {"--1", false, 0},
        {"1e+5", false, 0},        {"1e99999", false, 0},     {"big-field", false, 0},
        {"12a", false, 0},         {"000000000000000000000042.5", true, 42.5L},
    };
    for (const row& r : rows) {
        const auto parsed = parse_number(r.word);
        EXPECT_EQ(parsed.has_value(), r.number) << "'" << r.word << "'";
        if (parsed && r.number) {
            EXPECT_EQ(*parsed, r.value) << r.word;
        }
    }
}

TEST(number_text, reals_are_written_with_fifteen_significant_digits)
{
    struct row {
        const char* read;  // parsed first, as the reader would
        const char* written;
    };
    const row rows[] = {
        {"0", "0"},           {"-0", "0"},          {"59.0", "59"},           {"-4.052", "-4.052"},
        {"52.4130000000", "52.413"},  {"0.0001", "0.0001"},   {"0.00005", "5E-5"},  {"0.0000015", "1.5E-6"},
        {"2E20", "2E20"},     {"-3.25e-12", "-3.25E-12"},   {"0.1", "0.1"},     {"10", "10"},  {"1e100", "1E100"},
        {"123456789012345", "123456789012345"},    {"1234567890123456", "1.23456789012346E15"},
        {"3.14159265358979323846", "3.14159265358979"}, {"-123.4567890123456789", "-123.456789012346"},
    };
    for (const row& r : rows) EXPECT_EQ(format_real(*parse_number(r.read)), r.written) << r.read;
    std::string out;
    append_integer(out, -12);
    out += ',';
    append_integer(out, 2147483647);
    EXPECT_EQ(out, "-12,2147483647");
}

TEST(number_text, the_quick_paths_agree_with_the_general_conversion)
{
    const auto same_as_general = [](const std::string& word) {
        const long double value = *parse_number(word);
        std::string quick, general;
        append_real(quick, value);
        detail::append_real_general(general, value);
        return quick == general;
    };
    for (const char* edge : {"0.0001", "0.000099999999999999999", "999999999999999.4", "999999999999999.6",
                             "1E15", "0.00099999999999999999", "9.999999999999995", "1.0000000000000005"})
        EXPECT_TRUE(same_as_general(edge)) << edge;
    // Values of every magnitude the fixed notation covers and around its edges.
    std::mt19937_64 rng(11);
    std::uniform_int_distribution<int> exponent(-7, 17), point(0, 19);
    std::uniform_int_distribution<std::uint64_t> digits(1, 999'999'999'999'999'999ULL);
    for (int i = 0; i < 200'000; ++i) {
        const std::string word =
            (i % 2 ? "-" : "") + std::to_string(digits(rng)) + "E" + std::to_string(exponent(rng) - 18);
        ASSERT_TRUE(same_as_general(word)) << word;
    }
    // Plain decimals of up to 19 significant digits are parsed on a quick
    // path; they must come out as the correctly rounded conversion gives them.
    for (int i = 0; i < 200'000; ++i) {
        std::string word = std::to_string(digits(rng));
        word.insert(word.size() - static_cast<std::size_t>(point(rng)) % (word.size() + 1), ".");
        if (i % 3 == 0) word.insert(0, "-");
        long double correct = 0;
        std::from_chars(word.data(), word.data() + word.size(), correct);
        ASSERT_EQ(*parse_number(word), correct) << word;
    }
}

// Boxes, options and the settings file: one rule for whole numbers.
TEST(number_text, whole_numbers_as_typed)
{
    const std::pair<const char*, std::optional<std::int64_t>> rows[] = {
        {"400", 400}, {"+400", 400}, {" +9 ", 9}, {"\t-12", -12}, {"-0", 0}, {"007", 7},
        {"9223372036854775807", INT64_MAX}, {"-9223372036854775808", INT64_MIN}, {"9223372036854775808", {}},
        {"", {}}, {" ", {}}, {"+", {}}, {"+-5", {}}, {"-+5", {}}, {"--5", {}}, {"1.5", {}}, {"1e3", {}},
        {"12x", {}}, {"0x10", {}}, {"1 2", {}}, {"1,000", {}}, {"- 5", {}},
    };
    for (const auto& [text, value] : rows) EXPECT_EQ(parse_whole_number(text), value) << "'" << text << "'";
    EXPECT_EQ(parse_whole_32("2147483647"), INT32_MAX);
    EXPECT_EQ(parse_whole_32("-2147483649"), std::nullopt);
    EXPECT_EQ(parse_whole_number("20001", 1, 20000), std::nullopt);
}

TEST(number_text, reals_as_typed_and_shown)
{
    // The text read, then shown again; "" where the text is no number.
    const std::pair<const char*, const char*> rows[] = {
        {"12.5", "12.5"}, {" +0.25 ", "0.25"}, {"-5e9", "-5000000000"}, {"1e+20", "1e+20"},
        {"-1e300", "-1e+300"}, {"5e-05", "5e-05"}, {".5", "0.5"}, {"123456.7890123456", "123456.789012346"},
        {"-inf", ""}, {"nan", ""}, {"0x1p3", ""}, {"12,5", ""}, {"1e5000", ""}, {"", ""}, {"e5", ""},
        {"1e", ""}, {"+-1", ""}, {"1.2.3", ""},
    };
    for (const auto& [text, shown] : rows) {
        const std::optional<long double> value = parse_real(text);
        EXPECT_EQ(value ? format_general(*value) : "", shown) << "'" << text << "'";
    }
    EXPECT_EQ(format_fixed(1234.5678L, 2), "1234.57");
    EXPECT_EQ(format_fixed(-2.25L, 1), "-2.2");  // halves to even, as printf
}

TEST(number_text, the_users_locale_does_not_change_the_decimal_point)
{
    const char* was = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = was ? was : "C";
    // Any locale with a decimal comma the machine has; the test means
    // something only where one exists, and still checks the C locale.
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) break;
    EXPECT_EQ(format_real(*parse_number("-4.25")), "-4.25");
    EXPECT_EQ(*parse_number("0.75"), 0.75L);
    EXPECT_EQ(format_general(*parse_real("112616.959726941")), "112616.959726941");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
} // namespace wayloom
