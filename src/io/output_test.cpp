#include "io/output.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <functional>
#include <ostream>
#include <string>

#include "guarded_pages.h"
#include "platform_text.h"
#include "stdout_capture.h"

namespace {

struct OutputCase {
    const char* name;
    std::function<void()> write;
    std::string expected;
};

// Test names show the case name rather than the bytes of the case.
void PrintTo(const OutputCase& c, std::ostream* out) { *out << c.name; }

const OutputCase OutputCases[] = {
    {"line_gets_cr_lf", [] { writeLine(L"abc"); }, "abc\r\n"},
    {"every_line_feed_gets_cr_lf", [] { writeLine(L"a\nb"); }, "a\r\nb\r\n"},
    {"empty_line", [] { writeLine(L""); }, "\r\n"},
    {"japanese", [] { writeLine(L"\u30A2\u30C9"); }, platformText("アド\r\n")},
    // Texts longer than sixteen characters, with the special character in a later
    // group, so that whole-group narrowing has to notice it.
    {"long_text_with_line_feed",
     [] { writeLine(L"0123456789abcdefghij\nklmnopqrstuvwxyz0123456789"); },
     "0123456789abcdefghij\r\nklmnopqrstuvwxyz0123456789\r\n"},
    {"long_text_with_japanese", [] { writeLine(L"0123456789abcdefghijklmnopqrstuvwxyz\u30A2ABC"); },
     platformText("0123456789abcdefghijklmnopqrstuvwxyz\u30A2ABC\r\n")},
    {"long_text_with_greek", [] { writeLine(L"0123456789abcdefghijklmnopqrstu\u03B1vwxyz"); },
     platformText("0123456789abcdefghijklmnopqrstu\u03B1vwxyz\r\n")},
    {"long_text_cut_at_a_late_unencodable_character",
     [] {
         writeLine(
             L"0123456789abcdefghijklmnopqrstuvwxyz\xDC80"
             L"ABC");
     },
     "0123456789abcdefghijklmnopqrstuvwxyz"},
    {"control_characters_pass_unchanged",
     [] { writeLine(L"0123456789abcdefghij\tklmnopqrstuvwxyz\r\x01|\x7F"); },
     "0123456789abcdefghij\tklmnopqrstuvwxyz\r\x01|\x7F\r\n"},
    {"address_field",
     [] { writeFormatted(L"%08X:%08X  ", std::uint32_t{1}, std::uint32_t{0xABCDEF0}); },
     "00000001:0ABCDEF0  "},
    {"extreme_values",
     [] { writeFormatted(L"%08X|%08X", std::uint32_t{0}, std::uint32_t{0xFFFFFFFF}); },
     "00000000|FFFFFFFF"},
    {"a_format_used_again_prints_its_new_values",
     [] {
         static constexpr wchar_t format[] = L"%08X:%08X  ";
         writeFormatted(format, std::uint32_t{1}, std::uint32_t{2});
         writeFormatted(L"<%08X>", std::uint32_t{3});
         writeFormatted(format, std::uint32_t{4}, std::uint32_t{5});
     },
     "00000001:00000002  <00000003>00000004:00000005  "},
    {"one_buffer_holding_two_formats_in_turn",
     [] {
         wchar_t format[16] = L"%08X:%08X  ";
         const std::uint32_t values[] = {1, 2, 3};
         writeFormattedValues(format, values, 2);
         std::wcscpy(format, L"<%08X>");
         writeFormattedValues(format, values + 2, 1);
     },
     "00000001:00000002  <00000003>"},
    {"conversions_apart",
     [] { writeFormatted(L"%08X - %08X", std::uint32_t{0x12}, std::uint32_t{0xFEDCBA98}); },
     "00000012 - FEDCBA98"},
    {"pair_then_single",
     [] {
         writeFormatted(L"%08X %08X %08X", std::uint32_t{1}, std::uint32_t{2}, std::uint32_t{3});
     },
     "00000001 00000002 00000003"},
    {"many_conversions",
     [] {
         writeFormatted(L"%08X, %08X, %08X, %08X, %08X", std::uint32_t{1}, std::uint32_t{2},
                        std::uint32_t{3}, std::uint32_t{4}, std::uint32_t{5});
     },
     "00000001, 00000002, 00000003, 00000004, 00000005"},
    {"long_format",
     [] {
         writeFormatted(
             L"0123456789012345678901234567890123456789012345678901234567890123456789%08X",
             std::uint32_t{0xBEEF});
     },
     "01234567890123456789012345678901234567890123456789012345678901234567890000BEEF"},
    {"other_percent_signs_stay", [] { writeFormatted(L"100% %d %08x"); }, "100% %d %08x"},
    {"conversions_among_other_text",
     [] {
         writeFormatted(L"\u30A2%08X-%08X%08X:\n%08X", std::uint32_t{0xA}, std::uint32_t{0xB},
                        std::uint32_t{0xC}, std::uint32_t{0xD});
     },
     platformText("\u30A2") + "0000000A-0000000B0000000C:\r\n0000000D"},
    {"unencodable_character_ends_the_line_call",
     [] {
         writeLine(
             L"ab\xD800"
             L"cd");
     },
     "ab"},
    {"unencodable_character_ends_the_formatted_call",
     [] { writeFormatted(L"x\xDFFF%08X", std::uint32_t{1}); }, "x"},
    {"next_call_after_a_cut_one_writes",
     [] {
         writeLine(L"\xD800");
         writeLine(L"ok");
     },
     "ok\r\n"},
};

class OutputTest : public testing::TestWithParam<OutputCase> {};

TEST_P(OutputTest, WritesExactBytes) {
    StdoutCapture capture;
    GetParam().write();
    EXPECT_EQ(GetParam().expected, capture.finish());
}

INSTANTIATE_TEST_SUITE_P(Helpers, OutputTest, testing::ValuesIn(OutputCases),
                         [](const testing::TestParamInfo<OutputCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

TEST(OutputBufferingTest, WritesToAFileInWholeBlocksAndTheRestAtTheEnd) {
    StdoutCapture capture;
    const std::string line = "0123456789abcdef";  // 16 characters, 18 bytes with CR LF
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        writeLine(L"0123456789abcdef");
        expected += line + "\r\n";
    }
    const std::string beforeFinish = capture.written();
    const std::string all = capture.finish();
    EXPECT_EQ(expected, all);
    EXPECT_GE(beforeFinish.size(), 4096u);
    EXPECT_LT(beforeFinish.size(), expected.size());
    EXPECT_EQ(expected.substr(0, beforeFinish.size()), beforeFinish);
    EXPECT_EQ(expected.size() / 4096 * 4096, beforeFinish.size());
}

// A block can end anywhere in a line end, also after a line that filled it.
TEST(OutputBufferingTest, ABlockCanEndInsideALineEnd) {
    const struct {
        std::size_t firstLength;
        const wchar_t* second;
        std::string expectedFirstBlockEnd;
    } cases[] = {
        {4095, L"", "z\r"},
        {4093, L"", "z\r\n\r"},
        {4094, L"", "z\r\n"},
    };
    for (const auto& c : cases) {
        StdoutCapture capture;
        const std::wstring text(c.firstLength, L'z');
        writeLine(text.c_str());
        writeLine(c.second);
        const std::string beforeFinish = capture.written();
        const std::string all = capture.finish();
        EXPECT_EQ(std::string(c.firstLength, 'z') + "\r\n\r\n", all) << c.firstLength;
        ASSERT_EQ(4096u, beforeFinish.size()) << c.firstLength;
        EXPECT_EQ(c.expectedFirstBlockEnd,
                  beforeFinish.substr(4096 - c.expectedFirstBlockEnd.size()))
            << c.firstLength;
    }
}

// The narrowing tests several groups of characters at once; a line feed in any
// place of any group must end the plain stretch exactly there.
TEST(OutputNarrowingTest, FindsALineFeedAtEveryPosition) {
    const std::size_t length = 200;
    for (std::size_t lineFeed = 0; lineFeed < length; ++lineFeed) {
        std::wstring text;
        std::string expected;
        for (std::size_t i = 0; i < length; ++i) {
            text += i == lineFeed ? L'\n' : static_cast<wchar_t>(L'a' + i % 26);
            expected += i == lineFeed ? std::string("\r\n") : std::string(1, static_cast<char>('a' + i % 26));
        }
        StdoutCapture capture;
        writeLine(text.c_str());
        EXPECT_EQ(expected + "\r\n", capture.finish()) << lineFeed;
    }
}

// The narrowing reads whole groups of characters; none may reach past the page
// that holds the string's end, wherever in a group that end falls.
TEST(OutputNarrowingTest, ReadsNothingBeyondThePageWhereTheStringEnds) {
    const std::size_t characterCount = 2 * GuardedPages::PageSize / sizeof(wchar_t) + 60;
    GuardedPages pages(3);
    auto* pageEnd = reinterpret_cast<wchar_t*>(pages.end());
    StdoutCapture capture;
    std::string expected;
    for (std::size_t length = 0; length < characterCount; ++length) {
        wchar_t* text = pageEnd - length - 1;
        for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<wchar_t>(L'a' + i % 26);
        text[length] = L'\0';
        writeLine(text);
        for (std::size_t i = 0; i < length; ++i) expected += static_cast<char>('a' + i % 26);
        expected += "\r\n";
    }
    EXPECT_EQ(expected, capture.finish());
}

}  // namespace
