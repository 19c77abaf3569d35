// Stands in for the standard-output primitives under the output helpers, keeping
// the bytes in memory so that a fuzzer can check them at full speed.

#include "captured_output.h"

#include <cstdint>

#include "io/output.h"
#include "platform/standard_output.h"
#include "platform/utf8.h"

namespace {

std::string captured;

}  // namespace

namespace platform {

bool standardOutputIsConsole() { return false; }

std::size_t encodeCharacter(wchar_t character, char* out) {
    return encodeCodePoint(static_cast<std::uint32_t>(character), out);
}

bool writeStandardOutput(const char* bytes, std::size_t length) {
    captured.append(bytes, length);
    return true;
}

bool writeConsole(const char* bytes, std::size_t length) {
    return writeStandardOutput(bytes, length);
}

}  // namespace platform

std::string takeCapturedOutput() {
    finishOutput();
    std::string output;
    output.swap(captured);
    return output;
}
