#pragma once

#include <string>

/// Everything the output helpers wrote since the last call, as UTF-8 with CR LF
/// line ends; clears it.
std::string takeCapturedOutput();
