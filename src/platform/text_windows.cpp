#include <windows.h>

#include <clocale>

#include "platform/platform.h"

namespace platform {

void selectJapaneseLocale() {
    // The runtime then converts the wide output texts to code page 932.
    _wsetlocale(LC_ALL, L"Japanese");
}

bool isSpaceAboveLatin1(wchar_t character) {
    WORD type = 0;
    return GetStringTypeW(CT_CTYPE1, &character, 1, &type) && (type & C1_SPACE) != 0;
}

}  // namespace platform
