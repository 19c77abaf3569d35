#include <windows.h>

#include <vector>

#include "platform_text.h"

namespace {

constexpr UINT JapaneseCodePage = 932;

}  // namespace

std::string platformText(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(wideLength));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wideLength);
    const int length = WideCharToMultiByte(JapaneseCodePage, 0, wide.data(), wideLength, nullptr, 0,
                                           nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(JapaneseCodePage, 0, wide.data(), wideLength, text.data(), length, nullptr,
                        nullptr);
    return text;
}
