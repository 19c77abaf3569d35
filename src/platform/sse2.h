#pragma once

// SSE2 where the processor has it (every x86-64, and 32-bit x86 built with
// -msse2), unless the build asks for the plain code that other processors run
// (CMake option ZELVANE_VECTOR_CODE=OFF), so that both paths can be tested.
// Which fast paths this build compiled as vector code, each defined beside its
// own code: a test holds them to what the build asks for, so that the
// compiler's vectorizing of the plain code cannot pass for them.
extern const bool WholeLineIsVectorCode;  // fillWholeLine
extern const bool NarrowingIsVectorCode;  // narrowAscii

#if defined(__SSE2__) && !defined(ZELVANE_PLAIN_CODE)
#define ZELVANE_USE_SSE2 1
#include <emmintrin.h>
#endif
