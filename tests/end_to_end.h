#pragma once

// Shared setup for the tests that run the built program on real files.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "run_program.h"

/// Exit codes as the user sees them.
enum ExitCode { Ok = 0, OutputError = 1, Refused = 2, CannotOpen = 3, CannotRead = 4, NoSize = 7 };

/// A fresh directory for each test, removed afterwards.
class EndToEndTest : public testing::Test {
   protected:
    void SetUp() override;
    void TearDown() override;

    /// Writes bytes to a file of the test's directory and returns its path.
    std::string makeFile(const std::string& name, const std::vector<std::uint8_t>& bytes);

    ProgramResult run(const std::vector<std::string>& arguments, const RunOptions& options = {});

    std::filesystem::path directory_;
};

/// The words that start the built program: under the target's emulator where the
/// tests were cross-built, then under ZELVANE_TEST_WRAPPER where that names a
/// checker (its words separated by spaces).
std::vector<std::string> programCommand();

/// programCommand for a shell, each word quoted.
std::string programShellCommand();

/// count bytes of a fixed pseudo-random sequence.
std::vector<std::uint8_t> randomBytes(std::size_t count);
