# Cross build of the Linux program for another processor with Debian's cross
# compilers (g++-TRIPLE), for example:
#   cmake -S . -B build-s390x -DCMAKE_TOOLCHAIN_FILE=cmake/linux-cross.cmake \
#         -DZELVANE_CROSS_TRIPLE=s390x-linux-gnu
# The tests, and the program they start, run under qemu-user with the target's
# libraries, so nothing on the machine has to be registered (no binfmt).
set(CMAKE_SYSTEM_NAME Linux)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZELVANE_CROSS_TRIPLE)
if(NOT ZELVANE_CROSS_TRIPLE)
  message(FATAL_ERROR "Set ZELVANE_CROSS_TRIPLE, such as aarch64-linux-gnu")
endif()
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR "${ZELVANE_CROSS_TRIPLE}")

set(CMAKE_C_COMPILER ${ZELVANE_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ZELVANE_CROSS_TRIPLE}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELVANE_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# qemu calls 32-bit x86 i386.
set(qemu_processor ${CMAKE_SYSTEM_PROCESSOR})
if(qemu_processor MATCHES "^i[3-6]86$")
  set(qemu_processor i386)
endif()
find_program(ZELVANE_QEMU qemu-${qemu_processor}-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELVANE_QEMU} -L /usr/${ZELVANE_CROSS_TRIPLE})
