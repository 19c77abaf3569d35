// The stack protector's guard and the failures of the protector and of the
// fortified functions, for the Windows program. With MinGW-w64 10 the compiler
// would link GCC's libssp for them, whose guard is seeded through the
// cryptographic providers (ADVAPI32) at every start, which costs as much as a
// small dump; libssp's checked copies stay, and come without that part. Drop this
// file once the toolchain's runtime provides the guard and its failure (MinGW-w64
// 11 does).
#define _CRT_RAND_S
#include <stdlib.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

// The stack or a buffer was overrun: nothing of this process is to be trusted
// any more, so it ends at once, writing nothing.
[[noreturn]] void endForOverrun() {
    if (IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE)) {
        // __fastfail, which this toolchain's headers do not provide.
        __asm__ volatile("int $0x29" : : "c"(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE) : "memory");
    }
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_unreachable();
}

}  // namespace

extern "C" {

// Every protected function reads it on entry and compares it on return.
std::uintptr_t __stack_chk_guard = 0;

// A protected function found its guard overwritten.
[[noreturn]] void __stack_chk_fail() { endForOverrun(); }

// A fortified function found that a copy would overrun its buffer.
[[noreturn]] void __chk_fail() { endForOverrun(); }
}

namespace {

// Where rand_s fails: the counter's ticks, the process and thread, and where
// ASLR put the stack and the program, mixed, so that no two processes share it.
std::uintptr_t unrepeatableValue() {
    LARGE_INTEGER ticks{};
    QueryPerformanceCounter(&ticks);
    std::uint64_t value = static_cast<std::uint64_t>(ticks.QuadPart);
    value ^= (std::uint64_t{GetCurrentProcessId()} << 32) ^ GetCurrentThreadId();
    value ^= reinterpret_cast<std::uintptr_t>(&ticks) ^
             reinterpret_cast<std::uintptr_t>(&unrepeatableValue);
    value *= 0x9E3779B97F4A7C15u;  // every bit spread over the whole value
    return static_cast<std::uintptr_t>(value ^ (value >> 32));
}

// Unprotected itself: the guard changes while it runs.
[[gnu::no_stack_protector]] void seedStackGuard() {
    unsigned int words[sizeof(std::uintptr_t) / sizeof(unsigned int)] = {};
    bool random = true;
    for (unsigned int& word : words) random = random && rand_s(&word) == 0;
    std::uintptr_t guard = 0;
    std::memcpy(&guard, words, sizeof guard);
    __stack_chk_guard = random ? guard : unrepeatableValue();
}

// A C initializer: the runtime's start calls it before the C++ constructors and
// main, so before any protected function of ours runs.
[[gnu::section(".CRT$XIB"), gnu::used]] void (*const seedBeforeMain)() = seedStackGuard;

}  // namespace
