// Built three times by the tests: with one value per conversion it compiles;
// with ZELVANE_MISSING_VALUE, one value short, or ZELVANE_EXTRA_VALUE, one too
// many, the build must stop.
#include <cstdint>

#include "io/output.h"

void writeAddressField(std::uint32_t high, [[maybe_unused]] std::uint32_t low) {
#if defined(ZELVANE_MISSING_VALUE)
    writeFormatted(L"%08X:%08X  ", high);
#elif defined(ZELVANE_EXTRA_VALUE)
    writeFormatted(L"%08X:%08X  ", high, low, low);
#else
    writeFormatted(L"%08X:%08X  ", high, low);
#endif
}
