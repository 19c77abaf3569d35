#include "platform/path_to_open_windows.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace platform {
namespace {

bool startsWith(const wchar_t* text, const wchar_t* prefix) {
    return std::wcsncmp(text, prefix, std::wcslen(prefix)) == 0;
}

constexpr wchar_t ExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t DevicePrefix[] = L"\\\\.\\";
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
    // \\?\... (from //?/...) is extended already; \\.\... still takes the
    // limit and is extended in its place.
    if (startsWith(fullPath, ExtendedPrefix)) {
        path_ = fullPath;
        return;
    }
    const wchar_t* prefix = ExtendedPrefix;
    if (startsWith(fullPath, DevicePrefix)) {
        fullPath += std::wcslen(DevicePrefix);
    } else if (startsWith(fullPath, L"\\\\")) {
        // \\server\share\... becomes \\?\UNC\server\share\....
        prefix = ExtendedUncPrefix;
        fullPath += 2;
    }
    const std::size_t prefixLength = std::wcslen(prefix);
    std::wmemcpy(fullPath - prefixLength, prefix, prefixLength);
    path_ = fullPath - prefixLength;
}

PathToOpen::~PathToOpen() { std::free(extended_); }

}  // namespace platform
