#include "platform/path_to_open_windows.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PathToOpenTest, ExtendsExactlyTheLongFullPaths) {
    // Relative paths resolve against C:\ here.
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
    const std::wstring a256(256, L'a');
    const std::wstring a300(300, L'a');
    const struct {
        std::wstring path;
        std::wstring expected;
    } cases[] = {
        {L"data.bin", L"data.bin"},
        {L"x\\..\\data.bin", L"x\\..\\data.bin"},
        {L"C:\\" + a256, L"C:\\" + a256},  // 259 characters
        {L"C:\\" + a256 + L"b", L"\\\\?\\C:\\" + a256 + L"b"},  // 260
        {a300, L"\\\\?\\C:\\" + a300},
        {L"C:/x/" + a300, L"\\\\?\\C:\\x\\" + a300},
        {L"C:\\x\\..\\" + a300, L"\\\\?\\C:\\" + a300},
        {L"\\\\server\\share\\" + a300, L"\\\\?\\UNC\\server\\share\\" + a300},
        {L"//server/share/" + a300, L"\\\\?\\UNC\\server\\share\\" + a300},
        // Extended and NT paths as given; a long device path extended in its place.
        {L"\\\\?\\C:\\" + a300, L"\\\\?\\C:\\" + a300},
        {L"\\\\?\\C:/x/../" + a300, L"\\\\?\\C:/x/../" + a300},
        {L"\\\\?\\UNC\\server\\share\\" + a300, L"\\\\?\\UNC\\server\\share\\" + a300},
        {L"\\??\\C:\\" + a300, L"\\??\\C:\\" + a300},
        {L"\\??\\C:\\x", L"\\??\\C:\\x"},
        {L"//?/C:/" + a300, L"\\\\?\\C:\\" + a300},
        {L"//?/C:/x", L"//?/C:/x"},
        {L"//./C:/" + a300, L"\\\\?\\C:\\" + a300},
        {L"\\\\.\\C:\\x\\..\\" + a300, L"\\\\?\\C:\\" + a300},
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
        // No full path at all.
        {L"", L"(refused)"},
    };
    for (const auto& c : cases) {
        const platform::PathToOpen toOpen(c.path.c_str());
        const wchar_t* opened = toOpen.get();
        EXPECT_EQ(c.expected, opened == nullptr ? L"(refused)" : opened)
            << c.path.size() << " characters";
    }
    SetCurrentDirectoryW(previous);
}

}  // namespace
