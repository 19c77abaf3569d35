#include "platform/path_to_open_windows.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace platform {
namespace {

bool startsWith(const wchar_t* text, const wchar_t* prefix) {
    return std::wcsncmp(text, prefix, std::wcslen(prefix)) == 0;
}

bool isSeparator(wchar_t character) { return character == L'\\' || character == L'/'; }

// \\.\ or \\?\, with either slash: a device path, which a prefix would turn into
// the name of another file.
bool isDevicePath(const wchar_t* path) {
    return isSeparator(path[0]) && isSeparator(path[1]) && (path[2] == L'.' || path[2] == L'?') &&
           isSeparator(path[3]);
}

constexpr wchar_t ExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t ExtendedUncPrefix[] = L"\\\\?\\UNC\\";
constexpr DWORD LongestPrefix = sizeof ExtendedUncPrefix / sizeof(wchar_t) - 1;

}  // namespace

PathToOpen::PathToOpen(const wchar_t* path) {
    // These reach the object manager as they stand: nothing may rewrite them.
    if (startsWith(path, ExtendedPrefix) || startsWith(path, L"\\??\\")) {
        path_ = path;
        return;
    }
    // Most paths are short: their full path fits here and goes no further.
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (length == 0) return;
    if (length < MAX_PATH) {
        path_ = path;
        return;
    }
    // length counts the NUL here; room for the longest prefix before the path.
    extended_ = static_cast<wchar_t*>(std::malloc((LongestPrefix + length) * sizeof(wchar_t)));
    if (extended_ == nullptr) return;
    wchar_t* fullPath = extended_ + LongestPrefix;
    const DWORD written = GetFullPathNameW(path, length, fullPath, nullptr);
    if (written == 0 || written >= length) return;
    // A device path is never prefixed again: its full path where that is one too,
    // else the path as given.
    if (isDevicePath(fullPath)) {
        path_ = fullPath;
        return;
    }
    if (isDevicePath(path)) {
        path_ = path;
        return;
    }
    // \\server\share\... becomes \\?\UNC\server\share\..., and C:\... \\?\C:\....
    const bool unc = startsWith(fullPath, L"\\\\");
    const wchar_t* prefix = unc ? ExtendedUncPrefix : ExtendedPrefix;
    if (unc) fullPath += 2;
    const std::size_t prefixLength = std::wcslen(prefix);
    std::wmemcpy(fullPath - prefixLength, prefix, prefixLength);
    path_ = fullPath - prefixLength;
}

PathToOpen::~PathToOpen() { std::free(extended_); }

}  // namespace platform
