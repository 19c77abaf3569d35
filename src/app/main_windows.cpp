#include "app/zelvane.h"

// Windows hands the arguments over as wide strings, split by its own rules.
int wmain(int argc, wchar_t** argv) { return runZelvane(argc, argv); }
