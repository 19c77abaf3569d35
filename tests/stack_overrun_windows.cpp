// A program built with -fstack-protector-all on the Windows stack guard of our
// own: "guard" prints this process's guard; "overrun N" writes N bytes into an
// 8-byte stack buffer and then prints "returned".
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" std::uintptr_t __stack_chk_guard;

namespace {

[[gnu::noinline]] void overrun(int count) {
    char buffer[8];
    volatile char* bytes = buffer;
    for (int i = 0; i < count; ++i) bytes[i] = 'x';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "guard") == 0) {
        std::printf("%llx\n", static_cast<unsigned long long>(__stack_chk_guard));
        return 0;
    }
    if (argc != 3 || std::strcmp(argv[1], "overrun") != 0) return 2;
    overrun(std::atoi(argv[2]));
    std::puts("returned");
    return 0;
}
