#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>

#include "platform/platform.h"
#include "platform/utf8.h"

// errno serves as the last error.

namespace platform {
namespace {

int descriptorOf(FileHandle file) { return static_cast<int>(file); }

}  // namespace

FileHandle openFileForReading(const wchar_t* path) {
    // A longer path would be refused by open() with ENAMETOOLONG anyway.
    char bytes[PATH_MAX];
    if (!encodeBytesLosslessly(path, bytes, sizeof bytes)) {
        errno = ENAMETOOLONG;
        return InvalidFileHandle;
    }
    // O_NONBLOCK keeps a FIFO without a writer from blocking the open; it has no
    // effect on regular files and block devices.
    const int descriptor = open(bytes, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) return InvalidFileHandle;
    // open(2) accepts a directory; the Windows call refuses it, and so do we. A
    // status query that fails here decides nothing: the file did open, and the
    // size query will tell.
    struct stat status;
    if (fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        close(descriptor);
        errno = EISDIR;
        return InvalidFileHandle;
    }
    posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
    return descriptor;
}

void closeFile(FileHandle file) { close(descriptorOf(file)); }

bool getFileSize(FileHandle file, std::int64_t* size) {
    struct stat status;
    if (fstat(descriptorOf(file), &status) != 0) return false;
    if (S_ISREG(status.st_mode)) {
        *size = status.st_size;
        return true;
    }
    if (S_ISBLK(status.st_mode)) {
        const off_t end = lseek(descriptorOf(file), 0, SEEK_END);
        if (end < 0) return false;
        *size = end;
        return true;
    }
    // Pipes, sockets and character devices have no size, as on Windows.
    errno = EINVAL;
    return false;
}

std::uint32_t setFilePointer(FileHandle file, std::int32_t low, std::int32_t* high) {
    const std::uint64_t position =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*high)) << 32) |
        static_cast<std::uint32_t>(low);
    if (position > static_cast<std::uint64_t>(INT64_MAX)) {
        errno = EINVAL;
        return InvalidSetFilePointer;
    }
    const off_t reached = lseek(descriptorOf(file), static_cast<off_t>(position), SEEK_SET);
    if (reached < 0) return InvalidSetFilePointer;
    errno = 0;
    const auto newPosition = static_cast<std::uint64_t>(reached);
    *high = static_cast<std::int32_t>(static_cast<std::uint32_t>(newPosition >> 32));
    return static_cast<std::uint32_t>(newPosition);
}

std::uint32_t lastError() { return static_cast<std::uint32_t>(errno); }

void clearLastError() { errno = 0; }

bool readFile(FileHandle file, void* buffer, std::uint32_t request, std::uint32_t* bytesRead) {
    ssize_t count;
    do {
        count = read(descriptorOf(file), buffer, request);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return false;
    *bytesRead = static_cast<std::uint32_t>(count);
    return true;
}

}  // namespace platform
