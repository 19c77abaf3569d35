#pragma once

/// Runs the program on its wide-character arguments (argument 0 is the program's
/// own path) and returns the exit code.
int runZelvane(int argumentCount, const wchar_t* const* arguments);
