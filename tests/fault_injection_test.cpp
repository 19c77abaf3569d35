// The built program on a file system that fails on cue: a preloaded shim makes
// reads fail, end early or find the file truncated, makes status queries fail,
// or interrupts or shortens writes.
// A read that fails keeps the complete lines; a file that ends early shows every
// byte read.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <thread>

#include "end_to_end.h"
#include "reference_dump.h"

namespace {

struct FaultCase {
    const char* name;
    const char* fault;
    std::uint64_t readEnd;  // file position where reading stops
    int exitCode;
    bool endOfFile;  // reading ended early rather than failing: every byte read shows
};

// Test names show the case name rather than the bytes of the case.
void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

const FaultCase FaultCases[] = {
    {"read_error_in_the_first_block", "read-error:4000", 4000, CannotRead, false},
    {"read_error_in_the_second_block", "read-error:9000", 9000, CannotRead, false},
    {"read_error_at_a_line_end", "read-error:8208", 8208, CannotRead, false},
    {"read_error_before_any_byte", "read-error:0", 0, CannotRead, false},
    {"file_shrank_inside_a_line", "read-end:10007", 10007, CannotRead, true},
    {"file_shrank_at_a_line_end", "read-end:10016", 10016, CannotRead, true},
    {"file_shrank_before_any_byte", "read-end:0", 0, CannotRead, true},
    {"file_truncated_by_another_writer", "truncate:20007", 20007, CannotRead, true},
    {"size_query_fails", "size-query", 0, NoSize, false},
    {"status_query_fails_already_when_opening", "status-query", 0, NoSize, false},
    // Conditions that must change nothing.
    {"writes_interrupted_by_a_signal", "write-interrupted", 100000, Ok, true},
    {"short_writes", "write-short:1000", 100000, Ok, true},
    {"standard_input_closed_so_the_file_is_descriptor_0", "stdin-closed", 100000, Ok, true},
};

class FaultInjectionTest : public EndToEndTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(FaultInjectionTest, ReportsTheFaultAndKeepsWhatWasRead) {
    const FaultCase& c = GetParam();
    const std::vector<std::uint8_t> bytes = randomBytes(100000);
    const std::string file = makeFile("data.bin", bytes);
    RunOptions options;
    options.environment = {std::string("LD_PRELOAD=") + ZELVANE_FAULT_SHIM,
                           std::string("ZELVANE_FAULT=") + c.fault};
    const std::uint64_t offset = 0;
    const ProgramResult result = run({file, "0", "100000"}, options);
    EXPECT_EQ(c.exitCode, result.exitCode);
    const std::vector<std::uint8_t> read(bytes.begin(), bytes.begin() + c.readEnd);
    const std::string expected = !c.endOfFile   ? referenceDumpReadUpTo(offset, bytes, c.readEnd)
                                 : read.empty() ? ""
                                                : referenceDump(offset, read);
    EXPECT_EQ(expected, result.output);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultInjectionTest, testing::ValuesIn(FaultCases),
                         [](const testing::TestParamInfo<FaultCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

// Standard output that goes away. The read error far into the file tells whether
// the dump went on reading after its output had failed: that would turn exit
// code 1 into 4. SIGPIPE is ignored, so that the closed pipe shows as EPIPE.
struct OutputFaultCase {
    const char* name;
    const char* fault;
    const char* redirection;
};

void PrintTo(const OutputFaultCase& c, std::ostream* out) { *out << c.name; }

const OutputFaultCase OutputFaultCases[] = {
    {"disk_full", "read-error:65536", "> /dev/full"},
    {"reader_gone", "read-error:65536", "| head -c 100 > /dev/null"},
    {"write_takes_nothing", "write-nothing", "> /dev/null"},
};

class OutputFaultTest : public EndToEndTest, public testing::WithParamInterface<OutputFaultCase> {};

TEST_P(OutputFaultTest, EndsTheDumpBeforeTheNextReadWithCode1) {
    const OutputFaultCase& c = GetParam();
    const std::string file = makeFile("data.bin", randomBytes(1000000));
    const std::string command = std::string("trap '' PIPE; LD_PRELOAD='") + ZELVANE_FAULT_SHIM +
                                "' ZELVANE_FAULT=" + c.fault + " " + programShellCommand() + "'" +
                                file + "' 0 1000000 " + c.redirection +
                                "; echo \"${PIPESTATUS[0]}\"";
    const ProgramResult result = runProgram("/bin/bash", {"-c", command});
    EXPECT_EQ("1\n", result.output);
}

INSTANTIATE_TEST_SUITE_P(OutputFaults, OutputFaultTest, testing::ValuesIn(OutputFaultCases),
                         [](const testing::TestParamInfo<OutputFaultCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

TEST_F(EndToEndTest, AFileReplacedWhileOpenIsDumpedAsItWasOpened) {
    // Renaming another file over the path does not change what the open file holds.
    const std::vector<std::uint8_t> bytes = randomBytes(50000);
    const std::string file = makeFile("data.bin", bytes);
    const std::string replacement = makeFile("other.bin", randomBytes(10));
    RunOptions options;
    options.environment = {std::string("LD_PRELOAD=") + ZELVANE_FAULT_SHIM,
                           "ZELVANE_FAULT=replace:" + replacement};
    const ProgramResult result = run({file, "0", "50000"}, options);
    EXPECT_EQ(Ok, result.exitCode);
    EXPECT_EQ(referenceDump(0, bytes), result.output);
}

// What a terminal shows of the program within a few seconds.
std::string readTerminal(int terminal, std::size_t expectedLength) {
    std::string shown;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (shown.size() < expectedLength && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{terminal, POLLIN, 0};
        if (poll(&ready, 1, 100) != 1) continue;
        char chunk[4096];
        const ssize_t count = read(terminal, chunk, sizeof chunk);
        if (count <= 0) break;
        shown.append(chunk, static_cast<std::size_t>(count));
    }
    return shown;
}

// A terminal gets each output call's text when the call returns, as a console does
// on Windows: while the program still holds the file open, the terminal shows the
// header and the line already, with LF CR line ends.
TEST_F(EndToEndTest, ATerminalShowsEachLineWhenItIsWritten) {
    const std::vector<std::uint8_t> bytes = randomBytes(16);
    const std::string file = makeFile("data.bin", bytes);
    const std::string release = (directory_ / "release").string();
    const int controller = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(controller, 0);
    ASSERT_EQ(0, grantpt(controller));
    ASSERT_EQ(0, unlockpt(controller));
    const std::string terminalPath = ptsname(controller);
    // Raw, so that the bytes arrive as the program wrote them.
    const int terminal = open(terminalPath.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    termios mode{};
    ASSERT_EQ(0, tcgetattr(terminal, &mode));
    cfmakeraw(&mode);
    ASSERT_EQ(0, tcsetattr(terminal, TCSANOW, &mode));

    std::string expected = referenceDump(0, bytes);
    for (std::size_t at = 0; (at = expected.find("\r\n", at)) != std::string::npos; at += 2)
        expected.replace(at, 2, "\n\r");
    // Started in the background by a shell that returns at once; the program's
    // exit code arrives in a file.
    const std::string status = (directory_ / "status").string();
    const std::string command = std::string("( LD_PRELOAD='") + ZELVANE_FAULT_SHIM +
                                "' ZELVANE_FAULT='hold-close:" + release + "' " +
                                programShellCommand() + "'" + file + "' 0 16 > '" + terminalPath +
                                "'; echo $? > '" + status + "' ) > /dev/null 2>&1 &";
    ASSERT_EQ(0, runProgram("/bin/bash", {"-c", command}).exitCode);
    const std::string shownWhileOpen = readTerminal(controller, expected.size());
    std::ofstream(release).close();
    std::string exitCode;
    for (int wait = 0; wait < 600 && exitCode.empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::ifstream(status) >> exitCode;
    }
    close(terminal);
    close(controller);
    EXPECT_EQ(expected, shownWhileOpen);
    EXPECT_EQ("0", exitCode);
}

}  // namespace
