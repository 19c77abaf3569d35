#include "end_to_end.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

void EndToEndTest::SetUp() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("zelvane_") + test->test_suite_name() + "_" + test->name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    // A folder of its own for each run, so that test programs of several build
    // trees, or several runs of one test, never share or remove each other's files.
    std::random_device seed;
    do {
        directory_ = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(seed()));
    } while (!std::filesystem::create_directory(directory_));
}

void EndToEndTest::TearDown() { std::filesystem::remove_all(directory_); }

std::string EndToEndTest::makeFile(const std::string& name,
                                   const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path path = directory_ / name;
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

ProgramResult EndToEndTest::run(const std::vector<std::string>& arguments,
                                const RunOptions& options) {
    std::vector<std::string> words = programCommand();
    const std::string program = words.front();
    words.erase(words.begin());
    words.insert(words.end(), arguments.begin(), arguments.end());
    return runProgram(program, words, options);
}

std::vector<std::string> programCommand() {
    const char* wrapper = std::getenv("ZELVANE_TEST_WRAPPER");
    std::istringstream prefix(std::string(ZELVANE_PROGRAM_EMULATOR) + " " +
                              (wrapper != nullptr ? wrapper : ""));
    std::vector<std::string> words;
    for (std::string word; prefix >> word;) words.push_back(word);
    words.push_back(programPath());
    return words;
}

std::string programShellCommand() {
    std::string command;
    for (const std::string& word : programCommand()) command += "'" + word + "' ";
    return command;
}

std::vector<std::uint8_t> randomBytes(std::size_t count) {
    std::mt19937 generator(20261208);
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(generator());
    return bytes;
}
