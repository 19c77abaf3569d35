#include <cstring>
#include <vector>

#include "app/zelvane.h"
#include "platform/utf8.h"

// POSIX hands over the arguments as bytes; the program works on wide strings, as
// the Windows entry point receives them. Decoding is lossless, so a path that is
// not valid UTF-8 still opens.
int main(int argc, char** argv) {
    std::size_t totalBytes = 0;
    for (int i = 0; i < argc; ++i) totalBytes += std::strlen(argv[i]) + 1;

    std::vector<wchar_t> storage(totalBytes);
    std::vector<const wchar_t*> arguments(static_cast<std::size_t>(argc) + 1, nullptr);
    wchar_t* next = storage.data();
    for (int i = 0; i < argc; ++i) {
        arguments[static_cast<std::size_t>(i)] = next;
        next += platform::decodeBytesLosslessly(argv[i], next) + 1;
    }
    return runZelvane(argc, arguments.data());
}
