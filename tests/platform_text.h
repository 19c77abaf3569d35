#pragma once

#include <string>

/// The bytes the program writes for a UTF-8 text on this platform: the text
/// itself on Linux, its code page 932 form on Windows.
std::string platformText(const std::string& utf8);
