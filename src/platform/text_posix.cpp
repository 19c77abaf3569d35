#include "platform/platform.h"

namespace platform {

void selectJapaneseLocale() {
    // The output layer writes UTF-8 itself, whatever locale the environment names
    // and whichever locales are installed, so there is nothing to select.
}

bool isSpaceAboveLatin1(wchar_t character) {
    // Unicode's White_Space property above U+00FF.
    switch (static_cast<std::uint32_t>(character)) {
        case 0x1680:
        case 0x2028:
        case 0x2029:
        case 0x202F:
        case 0x205F:
        case 0x3000:
            return true;
        default: {
            const auto value = static_cast<std::uint32_t>(character);
            return value >= 0x2000 && value <= 0x200A;
        }
    }
}

}  // namespace platform
