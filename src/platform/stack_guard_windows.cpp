// The stack protector's guard and the failures of the protector and of the
// fortified functions, for the Windows program. With MinGW-w64 10 the compiler
// would link GCC's libssp for them, whose guard is seeded through the
// cryptographic providers (ADVAPI32) at every start, which costs as much as a
// small dump; libssp's checked copies of the fortified functions stay, and come
// without that part. Drop this file once the toolchain's runtime provides the
// guard and its failures (MinGW-w64 11 does).
#include <cpuid.h>
#include <windows.h>

#include <cstdint>

namespace {

// The stack or a buffer was overrun: nothing of this process is to be trusted
// any more, so it ends at once, writing nothing, and tells Windows' error
// reporting which of the two it was.
[[noreturn]] void endForOverrun(unsigned int failure) {
    if (IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE)) {
        // __fastfail, which this toolchain's headers do not provide.
        __asm__ volatile("int $0x29" : : "c"(failure) : "memory");
    }
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_unreachable();
}

}  // namespace

extern "C" {

// Every protected function reads it on entry and compares it on return.
std::uintptr_t __stack_chk_guard = 0;

// A protected function found its guard overwritten.
[[noreturn]] void __stack_chk_fail() { endForOverrun(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE); }

// A fortified function found that a copy would overrun its buffer.
[[noreturn]] void __chk_fail() { endForOverrun(FAST_FAIL_RANGE_CHECK_FAILURE); }
}

namespace {

// 32 bits from the processor's random-number generator, where it has one, else
// 0. It may run dry for a moment: Intel advises ten tries.
[[gnu::target("rdrnd")]] std::uint32_t processorRandom() {
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0 || (ecx & bit_RDRND) == 0) return 0;
    unsigned int value = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (__builtin_ia32_rdrand32_step(&value) != 0) return value;
    }
    return 0;
}

// Mixes value into state so that every bit of it moves every bit of the result.
std::uint64_t mixIn(std::uint64_t state, std::uint64_t value) {
    state = (state ^ value) * 0x9E3779B97F4A7C15u;
    return state ^ (state >> 31);
}

// Unprotected itself: the guard changes while it runs. Without a random-number
// instruction, what differs between processes and runs still decides the guard,
// as the platform's own compilers seed it: the counter's ticks, the process and
// thread, and where ASLR put the stack and the program. Nothing here loads a
// library, which would cost every start.
[[gnu::no_stack_protector]] void seedStackGuard() {
    LARGE_INTEGER ticks{};
    QueryPerformanceCounter(&ticks);
    std::uint64_t state = mixIn(processorRandom(), std::uint64_t{processorRandom()} << 32);
    state = mixIn(state, static_cast<std::uint64_t>(ticks.QuadPart));
    state = mixIn(state, std::uint64_t{GetCurrentProcessId()} << 32 | GetCurrentThreadId());
    state = mixIn(state, reinterpret_cast<std::uintptr_t>(&ticks));
    state = mixIn(state, reinterpret_cast<std::uintptr_t>(&seedStackGuard));
    __stack_chk_guard = static_cast<std::uintptr_t>(state ^ (state >> 32));
}

// A C initializer: the runtime's start calls it before the C++ constructors and
// main, so before any protected function of ours runs.
[[gnu::section(".CRT$XIB"), gnu::used]] void (*const seedBeforeMain)() = seedStackGuard;

}  // namespace
