#include "platform_text.h"

std::string platformText(const std::string& utf8) { return utf8; }
