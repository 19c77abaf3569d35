#pragma once

// The operating-system services the program uses, shaped after the Windows calls
// it was designed around. The Windows build calls those; on POSIX systems a small
// layer of our own stands in for them. CMake compiles one of the two.

#include <cstdint>

namespace platform {

/// An open file. Holds a Windows HANDLE or a POSIX descriptor.
using FileHandle = std::intptr_t;
constexpr FileHandle InvalidFileHandle = -1;

/// Returned by setFilePointer on failure (the low half of the position, like the
/// Windows call); only the last error tells a real failure from this position.
constexpr std::uint32_t InvalidSetFilePointer = 0xFFFFFFFFu;

/// Opens an existing file for sequential reading, sharing it with readers only.
/// Returns InvalidFileHandle when the file is missing, unreadable or a directory.
FileHandle openFileForReading(const wchar_t* path);

/// Releases a file from openFileForReading.
void closeFile(FileHandle file);

/// Stores the file's size in *size. Returns false when the size cannot be told.
bool getFileSize(FileHandle file, std::int64_t* size);

/// Moves to the absolute position high:low. Writes the high half of the new
/// position back into *high and returns its low half. On failure it sets the last
/// error; on success it may leave the last error as it was, so clear it first.
std::uint32_t setFilePointer(FileHandle file, std::int32_t low, std::int32_t* high);

/// The error code of the last failed call; 0 after clearLastError.
std::uint32_t lastError();
void clearLastError();

/// Reads up to request bytes from the current position into buffer and stores
/// the count in *bytesRead (0 at the end of the file). Returns false on failure.
bool readFile(FileHandle file, void* buffer, std::uint32_t request, std::uint32_t* bytesRead);

/// Selects the Japanese locale for the program's output texts. Failure is ignored.
void selectJapaneseLocale();

/// Whether a character above U+00FF counts as white space in numbers.
bool isSpaceAboveLatin1(wchar_t character);

}  // namespace platform
