#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/standard_output.h"
#include "platform/utf8.h"

// UTF-8 whatever the environment's locale says: the texts are Japanese and must
// stay readable under LANG=C too.

namespace platform {

static_assert(MaxUtf8Length <= MaxEncodedLength, "a UTF-8 sequence fits");

bool standardOutputIsConsole() { return isatty(STDOUT_FILENO) == 1; }

std::size_t encodeCharacter(wchar_t character, char* out) {
    return encodeCodePoint(static_cast<std::uint32_t>(character), out);
}

bool writeStandardOutput(const char* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t written = write(STDOUT_FILENO, bytes, length);
        if (written > 0) {
            bytes += written;
            length -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno == EAGAIN) {
            // The reader set O_NONBLOCK on the pipe we share: wait until it drains.
            pollfd output{STDOUT_FILENO, POLLOUT, 0};
            if (poll(&output, 1, -1) >= 0 || errno == EINTR) continue;
        }
        // A write that takes nothing would only ever be repeated.
        return false;
    }
    return true;
}

// A terminal takes UTF-8 as it is.
bool writeConsole(const char* bytes, std::size_t length) {
    return writeStandardOutput(bytes, length);
}

}  // namespace platform
