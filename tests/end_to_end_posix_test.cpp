// What only a POSIX system can show: byte paths, locales, a full device.

#include <string>

#include "end_to_end.h"
#include "reference_dump.h"

namespace {

TEST_F(EndToEndTest, OpensAFileWhoseNameIsNotUtf8) {
    const std::vector<std::uint8_t> bytes = randomBytes(20);
    const std::string path = makeFile("\xFF\xFE-\xE3\x82.bin", bytes);
    const ProgramResult result = run({path, "2", "10"});
    EXPECT_EQ(Ok, result.exitCode);
    EXPECT_EQ(referenceDump(2, std::vector<std::uint8_t>(bytes.begin() + 2, bytes.begin() + 12)),
              result.output);
}

TEST_F(EndToEndTest, WritesUtf8WhateverTheLocale) {
    const std::string file = makeFile("data.bin", randomBytes(20));
    const ProgramResult usual = run({});
    const ProgramResult usualDump = run({file, "0", "20"});
    for (const char* locale : {"LC_ALL=C", "LC_ALL=POSIX", "LC_ALL=ja_JP.SJIS", "LANG=C"}) {
        RunOptions options;
        options.environment = {locale};
        const ProgramResult usage = run({}, options);
        EXPECT_EQ(usual.output, usage.output) << locale;
        EXPECT_EQ(Refused, usage.exitCode) << locale;
        const ProgramResult dump = run({file, "0", "20"}, options);
        EXPECT_EQ(usualDump.output, dump.output) << locale;
        EXPECT_EQ(0u, dump.output.find(expectedHeader())) << locale;
    }
}

TEST_F(EndToEndTest, AFailedWriteIsNotReportedAsSuccess) {
    const std::string file = makeFile("data.bin", randomBytes(100000));
    RunOptions full;
    full.outputPath = "/dev/full";
    EXPECT_EQ(OutputError, run({file, "0", "100000"}, full).exitCode);
    EXPECT_EQ(OutputError, run({file, "0", "1"}, full).exitCode);
    // Other outcomes keep their own codes.
    EXPECT_EQ(Refused, run({}, full).exitCode);
    EXPECT_EQ(Refused, run({file, "100000", "1"}, full).exitCode);
    EXPECT_EQ(CannotOpen, run({(directory_ / "missing").string(), "0", "1"}, full).exitCode);
}

}  // namespace
