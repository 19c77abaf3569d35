# Cross build of the Windows console program with MinGW-w64 (Debian:
# g++-mingw-w64-i686-posix): the 32-bit program by default, the one that ships;
# -DZELVANE_WINDOWS_PROCESSOR=x86_64 (g++-mingw-w64-x86-64-posix) builds the
# 64-bit one from the same source, for Wine on machines that cannot run 32-bit
# x86 code. The tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZELVANE_WINDOWS_PROCESSOR)
if(NOT ZELVANE_WINDOWS_PROCESSOR)
  set(ZELVANE_WINDOWS_PROCESSOR i686)
endif()
set(CMAKE_SYSTEM_PROCESSOR ${ZELVANE_WINDOWS_PROCESSOR})
set(triple ${ZELVANE_WINDOWS_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Runs on a bare Windows: no MinGW runtime DLLs to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
