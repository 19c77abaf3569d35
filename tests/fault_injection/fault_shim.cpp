// Preloaded into the program (LD_PRELOAD) to make the file system fail on cue.
// ZELVANE_FAULT selects the fault; it acts only in a process named zelvane (not
// in a checker such as valgrind that starts it), and only on descriptors above 2,
// that is the dumped file, never the standard streams:
//   read-error:N   reads fail with EIO once N bytes have been read
//   read-end:N     reads return no bytes once N bytes have been read (file shrank)
//   truncate:N     once N bytes have been read, the file is truncated to N bytes
//                  through a separate descriptor, as another process would
//   replace:PATH   after the first read, the file at PATH is renamed over the
//                  dumped file, as another process would replace it
//   size-query     the second status query fails with EIO (the first one is the
//                  check for a directory when the file is opened)
//   status-query   every status query fails with EIO
//   write-nothing  writes to standard output return 0 (they take no byte)
//   write-interrupted  every other write to standard output fails with EINTR
//                  before it takes a byte, as when a signal arrives
//   write-short:N  a write to standard output takes at most N bytes
//   stdin-closed   standard input is closed before the program starts, so that
//                  the dumped file opens as descriptor 0
//   hold-close:PATH  closing the dumped file waits until PATH exists (a minute at
//                  most), so that a test sees what was shown before the program ends

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Fault {
    None,
    ReadError,
    ReadEnd,
    Truncate,
    Replace,
    SizeQuery,
    StatusQuery,
    WriteNothing,
    WriteInterrupted,
    WriteShort,
    StandardInputClosed,
    HoldClose
};

struct Setting {
    Fault fault = Fault::None;
    long long bytes = 0;
    const char* argument = "";
};

Setting setting() {
    static const Setting parsed = [] {
        Setting result;
        const char* text = std::getenv("ZELVANE_FAULT");
        if (text == nullptr || std::strcmp(program_invocation_short_name, "zelvane") != 0) {
            return result;
        }
        const char* colon = std::strchr(text, ':');
        const char* argument = colon != nullptr ? colon + 1 : "";
        const std::size_t nameLength =
            colon != nullptr ? static_cast<std::size_t>(colon - text) : std::strlen(text);
        const struct {
            const char* name;
            Fault fault;
        } names[] = {{"read-error", Fault::ReadError},
                     {"read-end", Fault::ReadEnd},
                     {"truncate", Fault::Truncate},
                     {"replace", Fault::Replace},
                     {"size-query", Fault::SizeQuery},
                     {"status-query", Fault::StatusQuery},
                     {"write-nothing", Fault::WriteNothing},
                     {"write-interrupted", Fault::WriteInterrupted},
                     {"write-short", Fault::WriteShort},
                     {"stdin-closed", Fault::StandardInputClosed},
                     {"hold-close", Fault::HoldClose}};
        for (const auto& entry : names) {
            if (std::strlen(entry.name) == nameLength &&
                std::strncmp(entry.name, text, nameLength) == 0) {
                result.fault = entry.fault;
                result.bytes = std::atoll(argument);
                result.argument = argument;
            }
        }
        return result;
    }();
    return parsed;
}

long long bytesRead = 0;
bool struck = false;  // the truncation or replacement has happened
int statusQueries = 0;

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// The path the descriptor was opened with, or an empty string.
void pathOf(int descriptor, char (&path)[PATH_MAX]) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    const ssize_t pathLength = readlink(link, path, sizeof path - 1);
    path[pathLength > 0 ? pathLength : 0] = '\0';
}

void truncateBehindTheReader(int descriptor, long long length) {
    char path[PATH_MAX];
    pathOf(descriptor, path);
    const int writer = open(path, O_WRONLY);
    if (writer < 0) return;
    if (ftruncate(writer, length) != 0) std::perror("fault shim: ftruncate");
    close(writer);
}

bool failsStatusQuery(int descriptor) {
    if (descriptor <= 2) return false;
    const Fault fault = setting().fault;
    return fault == Fault::StatusQuery || (fault == Fault::SizeQuery && ++statusQueries == 2);
}

}  // namespace

extern "C" ssize_t read(int descriptor, void* buffer, size_t count) {
    static const auto realRead = next<ssize_t (*)(int, void*, size_t)>("read");
    const Setting active = setting();
    const bool readFault = active.fault == Fault::ReadError || active.fault == Fault::ReadEnd ||
                           active.fault == Fault::Truncate || active.fault == Fault::Replace;
    if (descriptor <= 2 || !readFault) {
        return realRead(descriptor, buffer, count);
    }
    if (bytesRead >= active.bytes) {
        if (active.fault == Fault::ReadError) {
            errno = EIO;
            return -1;
        }
        if (active.fault == Fault::ReadEnd) return 0;
        if (active.fault == Fault::Truncate && !struck) {
            struck = true;
            truncateBehindTheReader(descriptor, active.bytes);
        }
        if (active.fault == Fault::Replace && !struck && bytesRead > 0) {
            struck = true;
            char path[PATH_MAX];
            pathOf(descriptor, path);
            if (rename(active.argument, path) != 0) std::perror("fault shim: rename");
        }
        const ssize_t result = realRead(descriptor, buffer, count);
        if (result > 0) bytesRead += result;
        return result;
    }
    // Stop the read at the fault's position, so that the fault strikes exactly there.
    if (static_cast<long long>(count) > active.bytes - bytesRead) {
        count = static_cast<size_t>(active.bytes - bytesRead);
    }
    const ssize_t result = realRead(descriptor, buffer, count);
    if (result > 0) bytesRead += result;
    return result;
}

// The program is built with 64-bit file offsets: its status query is fstat64.
extern "C" int fstat64(int descriptor, struct stat64* status) {
    static const auto realFstat = next<int (*)(int, struct stat64*)>("fstat64");
    if (failsStatusQuery(descriptor)) {
        errno = EIO;
        return -1;
    }
    return realFstat(descriptor, status);
}

extern "C" ssize_t write(int descriptor, const void* buffer, size_t count) {
    static const auto realWrite = next<ssize_t (*)(int, const void*, size_t)>("write");
    static bool interrupted = false;
    const Setting active = setting();
    if (descriptor != STDOUT_FILENO) return realWrite(descriptor, buffer, count);
    if (active.fault == Fault::WriteNothing) return 0;
    if (active.fault == Fault::WriteInterrupted && (interrupted = !interrupted)) {
        errno = EINTR;
        return -1;
    }
    if (active.fault == Fault::WriteShort && static_cast<long long>(count) > active.bytes) {
        count = static_cast<size_t>(active.bytes);
    }
    return realWrite(descriptor, buffer, count);
}

// Before main, as a shell's "<&-" would leave it.
__attribute__((constructor)) void closeStandardInput() {
    if (setting().fault == Fault::StandardInputClosed) next<int (*)(int)>("close")(STDIN_FILENO);
}

extern "C" int close(int descriptor) {
    static const auto realClose = next<int (*)(int)>("close");
    const Setting active = setting();
    if (descriptor > 2 && active.fault == Fault::HoldClose) {
        for (int wait = 0; wait < 6000 && access(active.argument, F_OK) != 0; ++wait) usleep(10000);
    }
    return realClose(descriptor);
}
