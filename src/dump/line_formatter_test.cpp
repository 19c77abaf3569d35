#include "dump/line_formatter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "dump/line_columns.h"
#include "io/hex_digits.h"
#include "platform/sse2.h"
#include "reference_dump.h"
#include "stdout_capture.h"

namespace {

// The formatter points into itself: a copy would point into the original.
static_assert(!std::is_copy_constructible_v<LineFormatter> && !std::is_copy_assignable_v<LineFormatter>,
              "a LineFormatter cannot be copied");

// Feeds bytes to a fresh formatter in chunks of the given sizes, the way the range
// reader does with its blocks, and returns what was printed.
std::string formatInChunks(std::uint64_t start, const std::vector<std::uint8_t>& bytes,
                           const std::vector<std::uint32_t>& chunks) {
    StdoutCapture capture;
    LineFormatter formatter;
    initLineFormatter(formatter, static_cast<std::int64_t>(start));
    std::size_t used = 0;
    auto rangeLeft = static_cast<std::int64_t>(bytes.size());
    for (std::uint32_t chunk : chunks) {
        std::uint32_t inHand = chunk;
        while (inHand > 0) {
            const std::int32_t taken = formatter.step(formatter, &bytes[used], inHand, rangeLeft);
            EXPECT_GE(taken, 1);
            if (taken < 1) break;
            used += static_cast<std::size_t>(taken);
            inHand -= static_cast<std::uint32_t>(taken);
            rangeLeft -= taken;
        }
    }
    return capture.finish();
}

std::vector<std::uint8_t> countingBytes(std::size_t count, std::uint8_t first) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(first + i));
    return bytes;
}

TEST(LineFormatterTest, WritesTheSpecifiedLinesForFortyCountingBytes) {
    const std::string expected =
        expectedHeader() +
        "00000000:00000000  00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f  ................\r\n"
        "00000000:00000010  10 11 12 13 14 15 16 17 18 19 1a 1b 1c 1d 1e 1f  ................\r\n"
        "00000000:00000020  20 21 22 23 24 25 26 27                           !\"#$%&'        \r\n";
    EXPECT_EQ(expected, formatInChunks(0, countingBytes(40, 0), {40}));
}

TEST(LineFormatterTest, BlanksColumnsBeforeAndAfterARangeInsideOneLine) {
    const std::string expected =
        expectedHeader() +
        "00000000:00000000           03 04 05 06 07                             .....        \r\n";
    EXPECT_EQ(expected, formatInChunks(3, countingBytes(5, 3), {5}));
}

TEST(LineFormatterTest, ShowsTheDisplayTableEdges) {
    const std::string expected =
        expectedHeader() +
        "00000000:00000000  7e 7f 80 ff 20 41 1f 00                          ~... A..        \r\n";
    EXPECT_EQ(expected, formatInChunks(0, {0x7E, 0x7F, 0x80, 0xFF, 0x20, 0x41, 0x1F, 0x00}, {8}));
}

TEST(LineFormatterTest, ShowsTheHighHalfOfTheAddress) {
    const std::string expected =
        expectedHeader() +
        "00000001:00000010  61                                               a               \r\n";
    EXPECT_EQ(expected, formatInChunks(0x100000010, {0x61}, {1}));
}

struct ChunkCase {
    const char* name;
    std::uint64_t start;
    std::size_t count;
    std::vector<std::uint32_t> chunks;
};

// Test names show the case name rather than the bytes of the case.
void PrintTo(const ChunkCase& c, std::ostream* out) { *out << c.name; }

const ChunkCase ChunkCases[] = {
    {"one_byte", 0, 1, {1}},
    {"last_byte_of_a_line", 15, 1, {1}},
    {"range_ends_at_line_end", 16, 32, {32}},
    {"partial_first_and_last_lines", 0x25, 40, {40}},
    {"line_split_across_two_calls", 0, 16, {7, 9}},
    {"partial_line_split_across_calls", 5, 30, {3, 1, 26}},
    {"byte_by_byte", 9, 40, std::vector<std::uint32_t>(40, 1)},
    {"blocks_of_odd_sizes", 1, 100, {17, 33, 50}},
    {"carry_into_the_high_half", 0xFFFFFFF8, 24, {5, 19}},
    {"high_offset_partial", 0x7FFFFFFF00000003, 20, {20}},
    // i * 37 + 5 takes every byte value once in 256 bytes, in whole lines here.
    {"every_byte_value_in_whole_lines", 0, 256, {256}},
    {"every_byte_value_in_lines_split_unevenly", 7, 300, {9, 16, 16, 259}},
};

class LineFormatterChunkTest : public testing::TestWithParam<ChunkCase> {};

TEST_P(LineFormatterChunkTest, MatchesTheReferenceWhateverTheChunks) {
    const ChunkCase& c = GetParam();
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < c.count; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i * 37 + 5));
    EXPECT_EQ(referenceDump(c.start, bytes), formatInChunks(c.start, bytes, c.chunks));
}

INSTANTIATE_TEST_SUITE_P(Chunks, LineFormatterChunkTest, testing::ValuesIn(ChunkCases),
                         [](const testing::TestParamInfo<ChunkCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

// The whole-line way (SSE2 where built) and the column way against the one rule
// for digits and display characters, for every byte value.
TEST(LineColumnsTest, BothWaysFollowTheDigitAndDisplayRulesForEveryByte) {
    for (int first = 0; first < 256; first += BytesPerLine) {
        std::uint8_t bytes[BytesPerLine];
        for (int i = 0; i < BytesPerLine; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
        for (const bool wholeLine : {true, false}) {
            wchar_t line[LineLength] = {};
            if (wholeLine) {
                fillWholeLine(line, line + TextColumnsStart, bytes);
            } else {
                fillColumns(line, line + TextColumnsStart, bytes, BytesPerLine);
            }
            for (int c = 0; c < BytesPerLine; ++c) {
                SCOPED_TRACE(testing::Message() << "byte " << first + c << " whole " << wholeLine);
                EXPECT_EQ(static_cast<wchar_t>(hexDigit(bytes[c] >> 4, 'a')), line[HexColumnWidth * c]);
                EXPECT_EQ(static_cast<wchar_t>(hexDigit(bytes[c] & 0xF, 'a')), line[HexColumnWidth * c + 1]);
                EXPECT_EQ(L'\0', line[HexColumnWidth * c + 2]);  // the space is never written
                EXPECT_EQ(displayChar(bytes[c]), line[TextColumnsStart + c]);
            }
        }
    }
}

// Both ways give the same bytes, so only the build can tell which one it has: the
// vector code wherever it asks for it, whatever the compiler made of the plain code.
TEST(LineColumnsTest, TheLineAndItsNarrowingAreCompiledAsTheBuildAsks) {
    const bool expected = ZELVANE_EXPECT_VECTOR_CODE;
    EXPECT_EQ(expected, WholeLineIsVectorCode);
    EXPECT_EQ(expected, NarrowingIsVectorCode);
}

TEST(LineFormatterTest, HoldsALineThatIsNotYetCompleteAndPrintsNothingBeforeTheFirstBytes) {
    StdoutCapture capture;
    LineFormatter formatter;
    initLineFormatter(formatter, 0);
    const std::uint8_t bytes[4] = {1, 2, 3, 4};
    EXPECT_EQ(4, formatter.step(formatter, bytes, 4, 10));
    EXPECT_EQ(expectedHeader(), capture.finish());
}

}  // namespace
