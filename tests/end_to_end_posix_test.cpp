// What only a POSIX system can show: byte paths, locales, special files, a block
// device, a full device, pipes that close or push back.

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
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

// A listening Unix socket at path; the socket stays open until the test ends.
void makeSocket(const std::string& path) {
    const int socketDescriptor = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(0, bind(socketDescriptor, reinterpret_cast<sockaddr*>(&address), sizeof address));
}

TEST_F(EndToEndTest, SpecialFilesGiveTheirCodesAtOnce) {
    const std::string fifo = (directory_ / "fifo").string();
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    const std::string socketPath = (directory_ / "socket").string();
    makeSocket(socketPath);
    const struct {
        std::string path;
        int exitCode;
    } cases[] = {
        {fifo, NoSize},  // no writer: the open must not wait for one
        {"/dev/zero", NoSize},
        {"/dev/null", NoSize},
        {socketPath, CannotOpen},  // a socket cannot be opened as a file
    };
    for (const auto& c : cases) {
        const ProgramResult result = run({c.path, "0", "16"});
        EXPECT_EQ(c.exitCode, result.exitCode) << c.path;
        EXPECT_EQ("", result.output) << c.path;
    }
}

// A read-only loop device of size bytes (whole 512-byte sectors) over an image,
// detached when it goes. Where none can be attached, path is empty and whyNot
// says why.
struct LoopDevice {
    LoopDevice(const std::string& image, std::size_t size) {
        if (geteuid() != 0) {
            whyNot = "attaching one needs root";
        } else if (access("/dev/loop-control", R_OK | W_OK) != 0) {
            whyNot = "/dev/loop-control is missing or not usable";
        } else {
            const ProgramResult attached = runProgram(
                "/bin/sh",
                {"-c", "exec losetup --find --show --read-only --sizelimit \"$1\" \"$0\" 2>&1",
                 image, std::to_string(size)});
            const std::string firstLine = attached.output.substr(0, attached.output.find('\n'));
            if (attached.exitCode == 0) path = firstLine;
            whyNot = "losetup failed (exit code " + std::to_string(attached.exitCode) +
                     "): " + firstLine;
        }
    }
    ~LoopDevice() {
        if (!path.empty()) runProgram("/bin/sh", {"-c", "exec losetup --detach \"$0\"", path});
    }
    std::string path;
    std::string whyNot;
};

TEST_F(EndToEndTest, ABlockDeviceIsDumpedUpToItsOwnSize) {
    // The device ends before its image does: ranges at and past its end show that
    // the size is the device's.
    const std::vector<std::uint8_t> bytes = randomBytes(1300);
    const LoopDevice device(makeFile("image.bin", bytes), 1024);
    if (device.path.empty()) GTEST_SKIP() << "no loop device: " << device.whyNot;
    const struct {
        std::size_t offset;
        std::string size;
        int exitCode;
        std::size_t count;
    } cases[] = {
        {0, "0x7fffffffffffffff", Ok, 1024},
        {17, "512", Ok, 512},
        {1000, "100", Ok, 24},
        {1023, "1", Ok, 1},
        {1024, "1", Refused, 0},
        {1100, "1", Refused, 0},
    };
    for (const auto& c : cases) {
        const ProgramResult result = run({device.path, std::to_string(c.offset), c.size});
        EXPECT_EQ(c.exitCode, result.exitCode) << c.offset << " " << c.size;
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(c.offset);
        const std::vector<std::uint8_t> range(first, first + static_cast<std::ptrdiff_t>(c.count));
        EXPECT_EQ(c.exitCode == Ok ? referenceDump(c.offset, range) : "", result.output)
            << c.offset << " " << c.size;
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

TEST_F(EndToEndTest, ANonBlockingPipeReadSlowlyReceivesEveryByte) {
    const std::vector<std::uint8_t> bytes = randomBytes(1 << 20);
    const std::string file = makeFile("data.bin", bytes);
    RunOptions options;
    options.nonBlockingOutput = true;
    const ProgramResult result = run({file, "0", "1048576"}, options);
    EXPECT_EQ(Ok, result.exitCode);
    EXPECT_TRUE(referenceDump(0, bytes) == result.output) << result.output.size() << " bytes";
}

TEST_F(EndToEndTest, HostileNumbersAreRefusedSilently) {
    // A path that does not exist: each case must be refused before any opening.
    const std::string missing = (directory_ / "missing.bin").string();
    const std::vector<std::string> offsets = {
        "3\xFF"
        "2",                                 // a byte that is not UTF-8
        "\xED\xA0\x80",                      // a lone surrogate, encoded
        "32\xED\xB2\x80",                    // an encoded surrogate from the reserved range
        "\xF0\x9D\x9F\x91\xF0\x9D\x9F\x90",  // mathematical digits above U+FFFF
        "\xF0\x9F\x98\x80",                  // an emoji
        "0x\xC0\xB1",                        // an overlong "1"
        std::string(100000, '9') + "x",
    };
    for (const std::string& offset : offsets) {
        const ProgramResult asOffset = run({missing, offset, "1"});
        EXPECT_EQ(Refused, asOffset.exitCode) << offset.substr(0, 40);
        EXPECT_EQ("", asOffset.output) << offset.substr(0, 40);
        const ProgramResult asSize = run({missing, "0", offset});
        EXPECT_EQ(Refused, asSize.exitCode) << offset.substr(0, 40);
        EXPECT_EQ("", asSize.output) << offset.substr(0, 40);
    }
}

TEST_F(EndToEndTest, HugeNumbersSaturate) {
    // Linux caps one argument at 128 KiB; 100 000 digits stay below that.
    const std::vector<std::uint8_t> bytes = randomBytes(40);
    const std::string file = makeFile("data.bin", bytes);
    const std::string huge(100000, '9');
    const ProgramResult asOffset = run({file, huge, "1"});
    EXPECT_EQ(Refused, asOffset.exitCode);
    EXPECT_EQ("", asOffset.output);
    const ProgramResult asSize = run({file, "3", huge});
    EXPECT_EQ(Ok, asSize.exitCode);
    EXPECT_EQ(referenceDump(3, std::vector<std::uint8_t>(bytes.begin() + 3, bytes.end())),
              asSize.output);
}

TEST_F(EndToEndTest, EndsWhenTheReaderOfItsPipeGoesAway) {
    // 1 GiB of holes would take seconds to dump; head stops after one line, and the
    // broken pipe ends the program at once with SIGPIPE, as other Unix tools do.
    const std::filesystem::path path = directory_ / "big.bin";
    std::ofstream(path, std::ios::binary).close();
    std::filesystem::resize_file(path, std::uint64_t{1} << 30);
    const std::string command = programShellCommand() + "'" + path.string() +
                                "' 0 0x40000000 | head -c 100 > /dev/null; "
                                "echo \"${PIPESTATUS[0]}\"";
    const ProgramResult result = runProgram("/bin/bash", {"-c", command});
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ("141\n", result.output);  // 128 + SIGPIPE
}

}  // namespace
