// The built program on real files: exact output bytes and exit codes.

#include "end_to_end.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform_text.h"
#include "reference_dump.h"

namespace {

const char ExpectedUsage[] =
    "指定したファイルをダンプする\r\n"
    "2 GB 以上のファイルサイズに対応\r\n"
    "\r\n"
    "書式\r\n"
    "Zelvane <ファイル・パス> <オフセット> <サイズ>\r\n"
    "\r\n"
    "オフセットとサイズは 8 進数または 16 進数でも指定可\r\n"
    "    32 = 0x20 (16 進数。先頭に 0x を付ける)\r\n"
    "    32 =  040 ( 8 進数。先頭に 0 を付ける)\r\n"
    "\r\n";

std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                                std::size_t count) {
    const std::size_t end = std::min(bytes.size(), offset + count);
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            bytes.begin() + static_cast<std::ptrdiff_t>(end)};
}

TEST_F(EndToEndTest, WithoutArgumentsPrintsTheUsageText) {
    const ProgramResult result = run({});
    EXPECT_EQ(Refused, result.exitCode);
    EXPECT_EQ(platformText(ExpectedUsage), result.output);
}

TEST_F(EndToEndTest, OtherArgumentCountsAreRefusedSilently) {
    const std::string file = makeFile("data.bin", randomBytes(64));
    const std::vector<std::vector<std::string>> cases = {
        {file}, {file, "0"}, {file, "0", "16", "x"}, {file, "0", "16", "x", "y"}};
    for (const auto& arguments : cases) {
        const ProgramResult result = run(arguments);
        EXPECT_EQ(Refused, result.exitCode) << arguments.size() << " arguments";
        EXPECT_EQ("", result.output) << arguments.size() << " arguments";
    }
}

TEST_F(EndToEndTest, BadNumbersAreRefusedBeforeTheFileIsOpened) {
    // The path does not exist: a refusal with code 2 rather than 3 shows that the
    // numbers were checked first.
    const std::string missing = (directory_ / "missing.bin").string();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"32 ", "1"}, {"08", "1"}, {"0x20h", "1"}, {"-1", "1"},    {"0x", "1"},  {"0xg", "1"},
        {" ", "1"},   {"+", "1"},  {"1.5", "1"},   {"３２ ", "1"}, {"0", "0"},   {"0", ""},
        {"0", "-5"},  {"0", "1 "}, {"0", "0x"},    {"0", "-0"},    {"0", "1e3"}, {"", "08"},
    };
    for (const auto& [offset, size] : cases) {
        const ProgramResult result = run({missing, offset, size});
        EXPECT_EQ(Refused, result.exitCode) << "offset '" << offset << "' size '" << size << "'";
        EXPECT_EQ("", result.output) << "offset '" << offset << "' size '" << size << "'";
    }
}

TEST_F(EndToEndTest, EveryWayOfWritingAnOffsetMeansTheSame) {
    const std::vector<std::uint8_t> bytes = randomBytes(100);
    const std::string file = makeFile("data.bin", bytes);
    const std::vector<std::pair<std::string, std::size_t>> cases = {
        {"32", 32},  {"0x20", 32}, {"0X20", 32},     {"040", 32},  {"+32", 32},
        {" 32", 32}, {"\t32", 32}, {"\u300032", 32}, {"３２", 32}, {"٣٢", 32},
        {"0", 0},    {"-0", 0},    {"", 0},          {"0x0", 0},   {"99", 99},
    };
    for (const auto& [offset, value] : cases) {
        const ProgramResult result = run({file, offset, "3"});
        EXPECT_EQ(Ok, result.exitCode) << "offset '" << offset << "'";
        EXPECT_EQ(referenceDump(value, slice(bytes, value, 3)), result.output)
            << "offset '" << offset << "'";
    }
}

TEST_F(EndToEndTest, FilesThatCannotBeOpenedGiveCode3) {
    const std::vector<std::string> paths = {(directory_ / "missing.bin").string(),
                                            directory_.string(), ""};
    for (const std::string& path : paths) {
        const ProgramResult result = run({path, "0", "16"});
        EXPECT_EQ(CannotOpen, result.exitCode) << "'" << path << "'";
        EXPECT_EQ("", result.output) << "'" << path << "'";
    }
}

TEST_F(EndToEndTest, OffsetsAtOrBeyondTheEndAreRefused) {
    const std::string empty = makeFile("empty.bin", {});
    const std::string file = makeFile("data.bin", randomBytes(40));
    const std::vector<std::vector<std::string>> cases = {{empty, "0", "1"},
                                                         {file, "40", "1"},
                                                         {file, "41", "1"},
                                                         {file, "9223372036854775807", "1"},
                                                         {file, "99999999999999999999", "1"}};
    for (const auto& arguments : cases) {
        const ProgramResult result = run(arguments);
        EXPECT_EQ(Refused, result.exitCode) << arguments[0] << " " << arguments[1];
        EXPECT_EQ("", result.output) << arguments[0] << " " << arguments[1];
    }
}

TEST_F(EndToEndTest, RangesMatchAnIndependentDump) {
    const std::vector<std::uint8_t> bytes = randomBytes(50000);
    const std::string file = makeFile("data.bin", bytes);
    struct Range {
        std::size_t offset;
        std::string size;
        std::size_t count;
    };
    const std::vector<Range> ranges = {
        {0, "0x7fffffffffffffff", 50000},
        {5, "20000", 20000},
        {8190, "5", 5},
        {49999, "10", 1},
        {4093, "16391", 16391},
        {16, "16", 16},
        {8192, "8192", 8192},
        {37, "99999999999999999999", 50000 - 37},
    };
    for (const Range& range : ranges) {
        const ProgramResult result = run({file, std::to_string(range.offset), range.size});
        EXPECT_EQ(Ok, result.exitCode) << range.offset << " " << range.size;
        EXPECT_EQ(referenceDump(range.offset, slice(bytes, range.offset, range.count)),
                  result.output)
            << range.offset << " " << range.size;
    }
}

TEST_F(EndToEndTest, ReachesDataBeyondFourGibibytesInASparseFile) {
    const std::uint64_t dataAt = (std::uint64_t{1} << 32) + 16;
    const std::filesystem::path path = directory_ / "sparse.bin";
    const std::vector<std::uint8_t> data = randomBytes(20);
    {
        std::ofstream file(path, std::ios::binary);
        file.seekp(static_cast<std::streamoff>(dataAt));
        file.write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
    }
    const ProgramResult result = run({path.string(), "0x100000010", "100"});
    EXPECT_EQ(Ok, result.exitCode);
    EXPECT_EQ(referenceDump(dataAt, data), result.output);
    EXPECT_EQ(0u, result.output.find(expectedHeader()));
    EXPECT_NE(std::string::npos, result.output.find("\r\n00000001:00000010  "));
}

}  // namespace
