#include <cstdlib>
#include <cstring>

#include "app/zelvane.h"
#include "dump/result_code.h"
#include "platform/utf8.h"

// POSIX hands over the arguments as bytes; the program works on wide strings, as
// the Windows entry point receives them. Decoding is lossless, so a path that is
// not valid UTF-8 still opens. The memory comes from the C library, the only
// library the program loads: a cheap start is most of a small dump's cost.
int main(int argc, char** argv) {
    std::size_t totalBytes = 0;
    for (int i = 0; i < argc; ++i) totalBytes += std::strlen(argv[i]) + 1;

    // One block: the argument pointers, then the characters they point to.
    const std::size_t pointerCount = static_cast<std::size_t>(argc) + 1;
    void* block = std::malloc(pointerCount * sizeof(wchar_t*) + totalBytes * sizeof(wchar_t));
    // Only a tight memory limit gets here; the named file cannot be reached then.
    if (block == nullptr) return OpenFailed;
    auto** arguments = static_cast<const wchar_t**>(block);
    auto* next = reinterpret_cast<wchar_t*>(arguments + pointerCount);
    for (int i = 0; i < argc; ++i) {
        arguments[i] = next;
        next += platform::decodeBytesLosslessly(argv[i], next) + 1;
    }
    arguments[argc] = nullptr;
    const int result = runZelvane(argc, arguments);
    std::free(block);
    return result;
}
