# The hardening a distribution builds its packages with, for every build of the
# program: zelvane reads files of unknown origin. Our own targets link
# zelvane_hardening; a packager's CXXFLAGS and LDFLAGS still apply as well, and
# the sanitizer and fuzzer builds add theirs.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

add_library(zelvane_hardening INTERFACE)
target_compile_options(zelvane_hardening INTERFACE -fstack-protector-strong)
# The fortified string functions need the optimizer, and a packager may have
# chosen another level already.
if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
  target_compile_definitions(zelvane_hardening INTERFACE
    $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
endif()
# On the processors whose compiler has them: stack clash protection, and CET on
# x86. Not the first on Windows, where the compiler probes every page of a large
# frame already, as the system's stack growth requires (and where GCC 12 for
# x86-64 fails on it with an internal error in the stack guard's failure).
set(hardening_flags -fcf-protection)
if(NOT WIN32)
  list(PREPEND hardening_flags -fstack-clash-protection)
endif()
foreach(flag ${hardening_flags})
  string(MAKE_C_IDENTIFIER "ZELVANE_HAS${flag}" supported)
  check_cxx_compiler_flag(${flag} ${supported})
  if(${supported})
    target_compile_options(zelvane_hardening INTERFACE ${flag})
  endif()
endforeach()

if(WIN32)
  # ASLR and memory that cannot execute, stated rather than left to the linker's
  # defaults.
  target_link_options(zelvane_hardening INTERFACE -Wl,--dynamicbase -Wl,--nxcompat)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_options(zelvane_hardening INTERFACE -Wl,--high-entropy-va)
  endif()
else()
  # Read-only relocations, bound at start, in a position-independent executable.
  target_link_options(zelvane_hardening INTERFACE -Wl,-z,relro -Wl,-z,now)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

if(WIN32)
  # The guard and its failure of our own, not GCC's libssp (the source says why),
  # built like the code it guards.
  add_library(zelvane_stack_guard STATIC ${PROJECT_SOURCE_DIR}/src/platform/stack_guard_windows.cpp)
  target_compile_options(zelvane_stack_guard PRIVATE
    $<TARGET_PROPERTY:zelvane_hardening,INTERFACE_COMPILE_OPTIONS>)
  target_compile_definitions(zelvane_stack_guard PRIVATE
    $<TARGET_PROPERTY:zelvane_hardening,INTERFACE_COMPILE_DEFINITIONS>)
  target_link_libraries(zelvane_stack_guard PRIVATE zelvane_warnings zelvane_program_code)
  target_link_libraries(zelvane_hardening INTERFACE zelvane_stack_guard)
  # The checked copies of the fortified functions, which the tests call (not
  # zelvane.exe, today); their failure is ours.
  target_link_libraries(zelvane_stack_guard INTERFACE ssp)
endif()
