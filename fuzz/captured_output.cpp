// Stands in for the standard-output half of the output helpers, keeping the bytes
// in memory so that a fuzzer can check them at full speed.

#include "captured_output.h"

#include <cstdint>

#include "io/standard_output.h"
#include "platform/utf8.h"

namespace {

std::string captured;

}  // namespace

bool putText(const wchar_t* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == L'\n') {
            putLineFeed();
            continue;
        }
        char sequence[platform::MaxUtf8Length];
        const std::size_t sequenceLength =
            platform::encodeCodePoint(static_cast<std::uint32_t>(text[i]), sequence);
        if (sequenceLength == 0) return false;
        captured.append(sequence, sequenceLength);
    }
    return true;
}

void putLineFeed() { captured += "\r\n"; }

void endCall() {}

bool flushStandardOutput() { return true; }

std::string takeCapturedOutput() {
    std::string output;
    output.swap(captured);
    return output;
}
