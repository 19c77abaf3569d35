#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct DecodeCase {
    const char* name;
    const char* bytes;
    std::vector<std::uint32_t> codePoints;
};

// Test names show the case name rather than the bytes of the case.
void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }

const DecodeCase DecodeCases[] = {
    {"ascii", "a.b", {0x61, 0x2E, 0x62}},
    {"two_byte", "\xC3\xA9", {0xE9}},
    {"three_byte", "\xE3\x82\xA2", {0x30A2}},
    {"four_byte", "\xF0\x9F\x98\x80", {0x1F600}},
    {"four_byte_plane_15", "\xF3\xB0\x80\x80", {0xF0000}},
    {"lone_continuation", "\x80", {0xDC80}},
    {"invalid_lead", "\xFF\xFE", {0xDCFF, 0xDCFE}},
    {"truncated_sequence",
     "\xE3\x82"
     "a",
     {0xDCE3, 0xDC82, 0x61}},
    {"overlong_slash", "\xC0\xAF", {0xDCC0, 0xDCAF}},
    {"overlong_three_byte", "\xE0\x80\xAF", {0xDCE0, 0xDC80, 0xDCAF}},
    {"encoded_surrogate", "\xED\xA0\x80", {0xDCED, 0xDCA0, 0xDC80}},
    {"encoded_escape_code_point", "\xED\xB2\x80", {0xDCED, 0xDCB2, 0xDC80}},
    {"above_unicode", "\xF4\x90\x80\x80", {0xDCF4, 0xDC90, 0xDC80, 0xDC80}},
    {"sequence_cut_by_end", "a\xF0\x9F\x98", {0x61, 0xDCF0, 0xDC9F, 0xDC98}},
};

class Utf8Test : public testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Test, DecodesAndEncodesBackToTheSameBytes) {
    const DecodeCase& c = GetParam();
    const std::string bytes = c.bytes;
    std::vector<wchar_t> decoded(bytes.size() + 1, L'#');
    const std::size_t length = platform::decodeBytesLosslessly(c.bytes, decoded.data());
    EXPECT_EQ(c.codePoints, std::vector<std::uint32_t>(decoded.begin(), decoded.begin() + length));
    EXPECT_EQ(L'\0', decoded[length]);

    char encoded[64];
    ASSERT_TRUE(platform::encodeBytesLosslessly(decoded.data(), encoded, sizeof encoded));
    EXPECT_EQ(bytes, std::string(encoded));
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8Test, testing::ValuesIn(DecodeCases),
                         [](const testing::TestParamInfo<DecodeCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

TEST(Utf8EncodeTest, RefusesWhatHasNoByteForm) {
    char out[16];
    const wchar_t loneSurrogate[] = {L'a', static_cast<wchar_t>(0xD800), L'\0'};
    EXPECT_FALSE(platform::encodeBytesLosslessly(loneSurrogate, out, sizeof out));
    EXPECT_EQ(0u, platform::encodeCodePoint(0xDC80, out));
    EXPECT_EQ(0u, platform::encodeCodePoint(0x110000, out));
}

TEST(Utf8EncodeTest, RefusesWhatDoesNotFit) {
    char out[4];
    EXPECT_TRUE(platform::encodeBytesLosslessly(L"abc", out, 4));
    EXPECT_FALSE(platform::encodeBytesLosslessly(L"abcd", out, 4));
    EXPECT_FALSE(platform::encodeBytesLosslessly(L"a\u30A2", out, 4));
}

}  // namespace
