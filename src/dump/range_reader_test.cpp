#include "dump/range_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "dump/result_code.h"
#include "reference_dump.h"
#include "scripted_file.h"
#include "stdout_capture.h"

namespace {

struct RunResult {
    int code;
    std::string output;
    std::int64_t sizeAfter;
};

RunResult runDump(std::int64_t offset, std::int64_t size) {
    StdoutCapture capture;
    const int code = dumpRange(1, offset, size);
    return {code, capture.finish(), size};
}

struct FailureCase {
    const char* name;
    ScriptedFile script;
    std::int64_t offset;
    std::int64_t size;
    int expectedCode;
    std::int64_t readEnd;  // bytes delivered before the failure; -1: nothing printed
    bool endOfFile = false;  // reading ended early rather than failing: every byte read shows
};

// Test names show the case name rather than the bytes of the case.
void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

ScriptedFile fileOf(std::int64_t size) {
    ScriptedFile file;
    file.size = size;
    return file;
}

ScriptedFile with(ScriptedFile file, void (*change)(ScriptedFile&)) {
    change(file);
    return file;
}

const FailureCase FailureCases[] = {
    {"size_query_fails", with(fileOf(100), [](ScriptedFile& f) { f.sizeQueryFails = true; }), 0, 10,
     SizeQueryFailed, -1},
    {"offset_at_end_of_file", fileOf(100), 100, 10, InvalidArguments, -1},
    {"offset_beyond_end_of_file", fileOf(100), INT64_MAX, 10, InvalidArguments, -1},
    {"empty_file", fileOf(0), 0, 1, InvalidArguments, -1},
    {"positioning_fails", with(fileOf(100), [](ScriptedFile& f) { f.positioningFails = true; }), 5,
     10, ReadFailed, -1},
    {"first_read_fails", with(fileOf(100), [](ScriptedFile& f) { f.failReadAt = 0; }), 0, 100,
     ReadFailed, -1},
    {"read_fails_in_second_block",
     with(fileOf(30000), [](ScriptedFile& f) { f.failReadAt = 9000; }), 5, 20000, ReadFailed,
     5 + 8192},
    {"file_shrinks_inside_a_line",
     with(fileOf(30000), [](ScriptedFile& f) { f.dataEndsAt = 10007; }), 3, 20000, ReadFailed,
     10007, true},
    {"file_shrinks_before_the_first_read",
     with(fileOf(30000), [](ScriptedFile& f) { f.dataEndsAt = 0; }), 0, 100, ReadFailed, -1},
    // The first 8192-byte read already reaches the failure, so nothing shows.
    {"read_fails_late_in_the_first_block",
     with(fileOf(30000), [](ScriptedFile& f) { f.failReadAt = 6000; }), 5, 20000, ReadFailed, -1},
};

class RangeReaderFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(RangeReaderFailureTest, ReturnsItsCodeAndKeepsWhatWasRead) {
    const FailureCase& c = GetParam();
    resetScriptedFile() = c.script;
    const RunResult result = runDump(c.offset, c.size);
    EXPECT_EQ(c.expectedCode, result.code);
    const auto start = static_cast<std::uint64_t>(c.offset);
    std::string expected;
    if (c.readEnd >= 0 && c.endOfFile) {
        expected = referenceDump(start, scriptedBytes(c.offset, c.readEnd - c.offset));
    } else if (c.readEnd >= 0) {
        expected = referenceDumpReadUpTo(start, scriptedBytes(c.offset, c.size),
                                         static_cast<std::uint64_t>(c.readEnd));
    }
    EXPECT_EQ(expected, result.output);
}

INSTANTIATE_TEST_SUITE_P(Failures, RangeReaderFailureTest, testing::ValuesIn(FailureCases),
                         [](const testing::TestParamInfo<FailureCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

struct RangeCase {
    const char* name;
    std::int64_t fileSize;
    std::uint32_t largestRead;
    std::int64_t offset;
    std::int64_t size;
    std::int64_t clampedSize;
    std::vector<std::uint32_t> requests;  // every read request, in order
};

// Test names show the case name rather than the bytes of the case.
void PrintTo(const RangeCase& c, std::ostream* out) { *out << c.name; }

const RangeCase RangeCases[] = {
    {"whole_file_when_size_exceeds_it", 40, 0, 0, 1000, 40, {40}},
    {"size_of_signed_max", 40, 0, 0, INT64_MAX, 40, {40}},
    {"last_byte_alone", 40, 0, 39, 5, 1, {1}},
    {"unaligned_across_blocks", 30000, 0, 5, 20000, 20000, {8192, 8192, 3616}},
    {"exactly_one_block", 8192, 0, 0, 8192, 8192, {8192}},
    {"one_byte_more_than_a_block", 9000, 0, 3, 8193, 8193, {8192, 1}},
    {"short_reads", 5000, 1000, 7, 4000, 4000, {4000, 3000, 2000, 1000}},
    {"tiny_reads", 100, 3, 1, 98, 98, {98, 95, 92, 89, 86, 83, 80, 77, 74, 71, 68, 65, 62, 59, 56, 53, 50,
                                        47, 44, 41, 38, 35, 32, 29, 26, 23, 20, 17, 14, 11, 8, 5, 2}},
    {"above_four_gibibytes", 0x100000100, 0, 0x100000010, 100, 100, {100}},
    {"low_half_all_ones", 0x200000000, 0, 0x1FFFFFFFF, 50, 1, {1}},
};

class RangeReaderTest : public testing::TestWithParam<RangeCase> {};

TEST_P(RangeReaderTest, DumpsTheClampedRangeInBlocks) {
    const RangeCase& c = GetParam();
    ScriptedFile& file = resetScriptedFile();
    file.size = c.fileSize;
    file.largestRead = c.largestRead;
    const RunResult result = runDump(c.offset, c.size);

    EXPECT_EQ(Success, result.code);
    EXPECT_EQ(c.offset, file.positionedTo);
    EXPECT_EQ(0, result.sizeAfter);
    EXPECT_EQ(
        referenceDump(static_cast<std::uint64_t>(c.offset), scriptedBytes(c.offset, c.clampedSize)),
        result.output);
    EXPECT_EQ(c.requests, file.requests);
}

INSTANTIATE_TEST_SUITE_P(Ranges, RangeReaderTest, testing::ValuesIn(RangeCases),
                         [](const testing::TestParamInfo<RangeCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

TEST(RangeReaderPositioningTest, AStaleLastErrorDoesNotFailAGoodRun) {
    ScriptedFile& file = resetScriptedFile();
    file.size = 64;
    file.lastError = 183;
    EXPECT_EQ(Success, runDump(16, 16).code);
}

}  // namespace
