#include "app/number_parser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace {

struct ParseCase {
    const char* name;
    const wchar_t* text;
    std::int64_t value;
    std::size_t stopIndex;  // where conversion must stop
};

// Test names show the case name rather than the bytes of the case.
void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.name; }

constexpr std::int64_t Max = INT64_MAX;
constexpr std::int64_t Min = INT64_MIN;

const ParseCase ParseCases[] = {
    {"decimal", L"32", 32, 2},
    {"hex_lower_x", L"0x20", 32, 4},
    {"hex_upper_x", L"0X20", 32, 4},
    {"hex_mixed_case_digits", L"0xaBcD", 0xABCD, 6},
    {"octal", L"040", 32, 3},
    {"zero_is_octal", L"0", 0, 1},
    {"plus_sign", L"+32", 32, 3},
    {"minus_sign", L"-32", -32, 3},
    {"minus_zero", L"-0", 0, 2},
    {"leading_space", L" 32", 32, 3},
    {"leading_tab_and_newline", L"\t\n\v\f\r32", 32, 7},
    {"leading_next_line_and_nbsp", L"\u0085\u00A032", 32, 4},
    {"leading_ideographic_space", L"\u300032", 32, 3},
    {"leading_unicode_spaces", L"\u1680\u2000\u200A\u2028\u2029\u202F\u205F7", 7, 8},
    {"trailing_space_left_over", L"32 ", 32, 2},
    {"zero_width_space_is_not_space", L"\u200B32", 0, 0},
    {"space_between_sign_and_digits", L"- 5", 0, 0},
    {"octal_stops_before_8", L"08", 0, 1},
    {"octal_stops_before_9", L"0779", 63, 3},
    {"hex_prefix_alone", L"0x", 0, 0},
    {"hex_prefix_then_non_hex", L"0xg", 0, 0},
    {"hex_then_letter_beyond_f", L"0x20h", 32, 4},
    {"decimal_stops_at_letter", L"12a", 12, 2},
    {"empty", L"", 0, 0},
    {"blank", L"   ", 0, 0},
    {"sign_only", L"-", 0, 0},
    {"fullwidth_digits", L"\uFF13\uFF12", 32, 2},
    {"fullwidth_zero_starts_octal", L"\uFF10\uFF14\uFF10", 32, 3},
    {"fullwidth_zero_then_x_is_hex", L"\uFF10x1F", 31, 4},
    {"fullwidth_letters_are_not_digits", L"0x\uFF41", 0, 0},
    {"arabic_indic", L"\u0663\u0662", 32, 2},
    {"extended_arabic_indic", L"\u06F1\u06F0", 10, 2},
    {"devanagari", L"\u0969\u0968", 32, 2},
    {"thai", L"\u0E53\u0E52", 32, 2},
    {"mongolian_last_digit", L"\u1819", 9, 1},
    {"after_mongolian_block", L"\u181A", 0, 0},
    {"before_arabic_block", L"\u065F", 0, 0},
    {"mixed_scripts", L"1\u0662\uFF13", 123, 3},
    {"signed_max", L"9223372036854775807", Max, 19},
    {"signed_max_plus_one_saturates", L"9223372036854775808", Max, 19},
    {"unsigned_max_saturates", L"18446744073709551615", Max, 20},
    {"beyond_unsigned_saturates", L"18446744073709551616", Max, 20},
    {"many_digits_consumed", L"99999999999999999999999999 ", Max, 26},
    {"hex_beyond_unsigned_saturates", L"0x10000000000000000", Max, 19},
    {"signed_min", L"-9223372036854775808", Min, 20},
    {"below_signed_min_saturates", L"-9223372036854775809", Min, 20},
    {"far_below_signed_min_saturates", L"-0x10000000000000000", Min, 20},
};

class NumberParserTest : public testing::TestWithParam<ParseCase> {};

TEST_P(NumberParserTest, ConvertsAndStops) {
    const ParseCase& c = GetParam();
    const wchar_t* stop = nullptr;
    EXPECT_EQ(c.value, parseNumber(c.text, &stop));
    EXPECT_EQ(c.stopIndex, static_cast<std::size_t>(stop - c.text));
}

TEST_P(NumberParserTest, WholeNumberOnlyWhenNothingIsLeft) {
    const ParseCase& c = GetParam();
    std::int64_t value = -12345;
    const bool whole = parseWholeNumber(c.text, &value);
    EXPECT_EQ(c.text[c.stopIndex] == L'\0', whole);
    EXPECT_EQ(c.value, value);
}

INSTANTIATE_TEST_SUITE_P(Syntax, NumberParserTest, testing::ValuesIn(ParseCases),
                         [](const testing::TestParamInfo<ParseCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

TEST(NumberParserLongInputTest, AMebibyteOfDigitsSaturatesAndIsConsumedWhole) {
    const std::wstring nines(1 << 20, L'9');
    const wchar_t* stop = nullptr;
    EXPECT_EQ(INT64_MAX, parseNumber(nines.c_str(), &stop));
    EXPECT_EQ(nines.size(), static_cast<std::size_t>(stop - nines.c_str()));

    const std::wstring negative = L"-" + nines + L"x";
    EXPECT_EQ(INT64_MIN, parseNumber(negative.c_str(), &stop));
    EXPECT_EQ(negative.size() - 1, static_cast<std::size_t>(stop - negative.c_str()));

    std::wstring zeros(1 << 20, L'0');
    zeros.insert(0, L"0x").append(L"1f");
    std::int64_t value = 0;
    EXPECT_TRUE(parseWholeNumber(zeros.c_str(), &value));
    EXPECT_EQ(0x1F, value);
}

}  // namespace
