// What only Windows can show: code page 932 output, share modes, pipes and NUL.
// Long paths: windows_long_path_test.sh.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "end_to_end.h"

namespace {

TEST_F(EndToEndTest, WritesTheHeaderInCodePage932) {
    const std::string file = makeFile("data.bin", {0x41});
    const ProgramResult result = run({file, "0", "1"});
    EXPECT_EQ(Ok, result.exitCode);
    // アドレス in code page 932, then CR LF.
    const std::string header =
        "         \x83\x41\x83\x68\x83\x8C\x83\x58  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"
        "  0123456789ABCDEF\r\n";
    EXPECT_EQ(0u, result.output.find(header));
}

TEST_F(EndToEndTest, AFileHeldOpenForWritingIsRefused) {
    const std::string path = makeFile("busy.bin", randomBytes(32));
    const std::wstring widePath(path.begin(), path.end());
    const HANDLE writer =
        CreateFileW(widePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    const ProgramResult whileWriting = run({path, "0", "16"});
    CloseHandle(writer);
    EXPECT_EQ(CannotOpen, whileWriting.exitCode);
    EXPECT_EQ("", whileWriting.output);
    EXPECT_EQ(Ok, run({path, "0", "16"}).exitCode);
}

TEST_F(EndToEndTest, APipeAndNulReportSizeZeroAndAreRefused) {
    const std::string pipe = "\\\\.\\pipe\\zelvane-test-" + std::to_string(GetCurrentProcessId());
    const HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1,
                                           4096, 4096, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, server);
    for (const std::string& path : {pipe, std::string("NUL")}) {
        const ProgramResult result = run({path, "0", "16"});
        EXPECT_EQ(Refused, result.exitCode) << path;
        EXPECT_EQ("", result.output) << path;
    }
    CloseHandle(server);
}

// The stack guard of our own (stack_guard_windows.cpp), in a program built like
// zelvane.exe.
TEST(StackGuardTest, IsSeededBeforeTheConstructorsNewInEveryProcessAndEndsEveryOverrun) {
    const std::string program =
        (std::filesystem::path(programPath()).parent_path() / "zelvane_stack_overrun.exe").string();
    std::vector<std::string> guards;
    for (int run = 0; run < 2; ++run) {
        std::istringstream printed(runProgram(program, {"guard"}).output);
        std::string beforeConstructors, inMain;
        printed >> beforeConstructors >> inMain;
        EXPECT_EQ(beforeConstructors, inMain);
        EXPECT_NE(0u, std::stoull(inMain, nullptr, 16));
        guards.push_back(inMain);
    }
    EXPECT_NE(guards[0], guards[1]);
    for (const char* overrun : {"overrun", "copy"}) {
        EXPECT_EQ("returned\r\n", runProgram(program, {overrun, "8"}).output) << overrun;
        const ProgramResult result = runProgram(program, {overrun, "64"});
        EXPECT_EQ(STATUS_STACK_BUFFER_OVERRUN, static_cast<DWORD>(result.exitCode)) << overrun;
        EXPECT_EQ("", result.output) << overrun;
    }
}

TEST_F(EndToEndTest, EndsWithCode1WhenTheReaderOfItsPipeGoesAway) {
    // No signal ends a Windows program whose pipe broke: a gibibyte that went on
    // being dumped would show as a test that times out.
    const std::filesystem::path path = directory_ / "big.bin";
    std::ofstream(path, std::ios::binary).close();
    std::filesystem::resize_file(path, std::uint64_t{1} << 30);
    RunOptions options;
    options.closeAfter = 100;
    EXPECT_EQ(OutputError, run({path.string(), "0", "0x40000000"}, options).exitCode);
}

}  // namespace
