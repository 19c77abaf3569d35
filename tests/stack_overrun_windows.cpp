// A program built like zelvane.exe, on the Windows stack guard of our own:
// "guard" prints the guard as it was before the constructors and as main finds
// it; "overrun N" writes N bytes into an 8-byte stack buffer, "copy N" copies N
// bytes into one with the fortified memcpy, and both then print "returned".
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" std::uintptr_t __stack_chk_guard;

namespace {

// Protected code may run from the first constructor on: the guard must be
// seeded by then. The last C initializer runs before them all. It also sends
// standard error to standard output, where the test sees what an overrun prints.
std::uintptr_t guardBeforeConstructors = 0;
void noteGuardBeforeConstructors() {
    guardBeforeConstructors = __stack_chk_guard;
    SetStdHandle(STD_ERROR_HANDLE, GetStdHandle(STD_OUTPUT_HANDLE));
}
[[gnu::section(".CRT$XIY"), gnu::used]] void (*const lastCInitializer)() = noteGuardBeforeConstructors;

[[gnu::noinline]] void overrun(int count) {
    char buffer[8];
    volatile char* bytes = buffer;
    for (int i = 0; i < count; ++i) bytes[i] = 'x';
}

// The size is known only at run time, so the fortified memcpy checks it then.
// Unprotected, so that only the fortified copy can tell the overrun.
[[gnu::noinline, gnu::no_stack_protector]] void copy(int count) {
    char buffer[8];
    static const char source[64] = {};
    std::memcpy(buffer, source, static_cast<std::size_t>(count));
    const volatile char* keep = buffer;
    (void)keep[0];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "guard") == 0) {
        std::printf("%llx %llx\n", static_cast<unsigned long long>(guardBeforeConstructors),
                    static_cast<unsigned long long>(__stack_chk_guard));
        return 0;
    }
    if (argc != 3) return 2;
    if (std::strcmp(argv[1], "overrun") == 0) {
        overrun(std::atoi(argv[2]));
    } else if (std::strcmp(argv[1], "copy") == 0) {
        copy(std::atoi(argv[2]));
    } else {
        return 2;
    }
    std::puts("returned");
    return 0;
}
