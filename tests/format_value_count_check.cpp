// Built twice by the tests: with one value per conversion it compiles; with
// ZELVANE_MISSING_VALUE, one value short, the build must stop.
#include <cstdint>

#include "io/output.h"

void writeAddressField(std::uint32_t high, [[maybe_unused]] std::uint32_t low) {
#ifdef ZELVANE_MISSING_VALUE
    writeFormatted(L"%08X:%08X  ", high);
#else
    writeFormatted(L"%08X:%08X  ", high, low);
#endif
}
