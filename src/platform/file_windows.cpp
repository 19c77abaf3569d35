#include <windows.h>

#include "platform/path_to_open_windows.h"
#include "platform/platform.h"

namespace platform {
namespace {

HANDLE handleOf(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

}  // namespace

FileHandle openFileForReading(const wchar_t* path) {
    const PathToOpen toOpen(path);
    if (toOpen.get() == nullptr) return InvalidFileHandle;
    // Sharing with readers only: a file another process is writing is refused.
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open.
    const HANDLE file = CreateFileW(toOpen.get(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return InvalidFileHandle;
    return reinterpret_cast<FileHandle>(file);
}

void closeFile(FileHandle file) { CloseHandle(handleOf(file)); }

bool getFileSize(FileHandle file, std::int64_t* size) {
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(handleOf(file), &fileSize)) {
        // Windows reports a pipe's size as the bytes waiting in it, 0 when a dump
        // starts; Wine fails the query instead. Both give the same outcome.
        if (GetFileType(handleOf(file)) != FILE_TYPE_PIPE) return false;
        fileSize.QuadPart = 0;
    }
    *size = fileSize.QuadPart;
    return true;
}

std::uint32_t setFilePointer(FileHandle file, std::int32_t low, std::int32_t* high) {
    LONG highPart = *high;
    const DWORD newLow = SetFilePointer(handleOf(file), low, &highPart, FILE_BEGIN);
    *high = highPart;
    return newLow;
}

std::uint32_t lastError() { return GetLastError(); }

void clearLastError() { SetLastError(ERROR_SUCCESS); }

bool readFile(FileHandle file, void* buffer, std::uint32_t request, std::uint32_t* bytesRead) {
    DWORD count = 0;
    if (!ReadFile(handleOf(file), buffer, request, &count, nullptr)) return false;
    *bytesRead = count;
    return true;
}

}  // namespace platform
