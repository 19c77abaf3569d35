#pragma once

// Runs the built program as a child process and collects what it did.

#include <cstddef>
#include <string>
#include <vector>

struct ProgramResult {
    int exitCode;        // 128 + signal number when a signal ended it
    std::string output;  // standard output, byte for byte
};

struct RunOptions {
    std::string outputPath;                // send standard output here instead of collecting it
    std::vector<std::string> environment;  // "NAME=value" settings added for the child
    std::size_t closeAfter = 0;            // close the pipe once this many bytes came (0: never)
    bool nonBlockingOutput = false;        // POSIX: the child's pipe is O_NONBLOCK, read slowly
};

// Past this much collected output the runner stops the program and reports
// StoppedForTooMuchOutput, so that a program that never stops writing fails its
// test instead of filling the memory.
constexpr std::size_t MaxCollectedBytes = std::size_t{16} << 20;
constexpr int StoppedForTooMuchOutput = -2;

/// The built program, found beside the test executable.
std::string programPath();

/// Runs program with arguments given as bytes (UTF-8 unless a test says otherwise).
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const RunOptions& options = {});
