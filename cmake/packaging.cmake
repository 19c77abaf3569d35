# Installation and the packages: a Debian package on Linux, a zip on Windows.
# The version of both, of the Windows version resource and of the manual pages
# is the project's.

include(GNUInstallDirs)
set(ZELVANE_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
set(ZELVANE_MAINTAINER "The Zelvane developers <zelvane@example.org>")

if(WIN32)
  # Windows editors want CR LF in the zip's text files.
  function(zelvane_windows_text source destination)
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${destination} "${text}")
  endfunction()
  # The Japanese README is UTF-8 with a byte order mark, which every Notepad reads.
  configure_file(packaging/README-windows.txt.in ${ZELVANE_PACKAGING_DIR}/README.lf.txt @ONLY)
  configure_file(packaging/README-windows-ja.txt.in ${ZELVANE_PACKAGING_DIR}/README-ja.lf.txt
                 @ONLY)
  zelvane_windows_text(${ZELVANE_PACKAGING_DIR}/README.lf.txt ${ZELVANE_PACKAGING_DIR}/README.txt)
  zelvane_windows_text(${ZELVANE_PACKAGING_DIR}/README-ja.lf.txt
                       ${ZELVANE_PACKAGING_DIR}/README-ja.txt)
  zelvane_windows_text(${PROJECT_SOURCE_DIR}/LICENSE ${ZELVANE_PACKAGING_DIR}/LICENSE.txt)

  install(TARGETS zelvane RUNTIME DESTINATION .)
  install(FILES ${ZELVANE_PACKAGING_DIR}/README.txt ${ZELVANE_PACKAGING_DIR}/README-ja.txt
          ${ZELVANE_PACKAGING_DIR}/LICENSE.txt DESTINATION .)
else()
  # Debian wants a changelog in its own format: made from CHANGELOG.md.
  # Manual pages and the changelog go in compressed, reproducibly (no name, no
  # time stamp in the gzip header), as Debian wants them.
  find_program(ZELVANE_GZIP gzip REQUIRED)
  function(zelvane_gzip source name)
    add_custom_command(OUTPUT ${ZELVANE_PACKAGING_DIR}/${name}.gz
      COMMAND ${ZELVANE_GZIP} -9n -c ${source} > ${ZELVANE_PACKAGING_DIR}/${name}.gz
      DEPENDS ${source} VERBATIM)
  endfunction()
  # The pages carry the date of their version, as CHANGELOG.md gives it.
  file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md release_heading REGEX "^## ${PROJECT_VERSION} - [0-9-]+$")
  string(REGEX MATCH "[0-9]+-[0-9]+-[0-9]+$" ZELVANE_RELEASE_DATE "${release_heading}")
  if(NOT ZELVANE_RELEASE_DATE)
    message(FATAL_ERROR "CHANGELOG.md has no heading \"## ${PROJECT_VERSION} - DATE\"")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
  configure_file(man/zelvane.1.in ${ZELVANE_PACKAGING_DIR}/zelvane.1 @ONLY)
  configure_file(man/ja/zelvane.1.in ${ZELVANE_PACKAGING_DIR}/ja/zelvane.1 @ONLY)
  zelvane_gzip(${ZELVANE_PACKAGING_DIR}/zelvane.1 zelvane.1)
  zelvane_gzip(${ZELVANE_PACKAGING_DIR}/ja/zelvane.1 ja/zelvane.1)
  add_custom_command(OUTPUT ${ZELVANE_PACKAGING_DIR}/changelog
    COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/CHANGELOG.md
            -DOUTPUT=${ZELVANE_PACKAGING_DIR}/changelog "-DMAINTAINER=${ZELVANE_MAINTAINER}"
            -P ${PROJECT_SOURCE_DIR}/cmake/debian-changelog.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/debian-changelog.cmake
    VERBATIM)
  zelvane_gzip(${ZELVANE_PACKAGING_DIR}/changelog changelog)
  add_custom_target(zelvane_docs ALL DEPENDS
    ${ZELVANE_PACKAGING_DIR}/zelvane.1.gz ${ZELVANE_PACKAGING_DIR}/ja/zelvane.1.gz
    ${ZELVANE_PACKAGING_DIR}/changelog.gz)

  install(TARGETS zelvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${ZELVANE_PACKAGING_DIR}/zelvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${ZELVANE_PACKAGING_DIR}/ja/zelvane.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
  install(FILES ${ZELVANE_PACKAGING_DIR}/changelog.gz packaging/copyright
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME zelvane)
set(CPACK_PACKAGE_VENDOR "The Zelvane developers")
set(CPACK_PACKAGE_CONTACT "${ZELVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "zelvane prints a hexadecimal dump of one byte range of one file: a column\n"
  "header, then one line per 16-byte stretch of the file that the range touches,\n"
  "with the 64-bit address, the bytes in hexadecimal and the bytes as characters.\n"
  "Lines are aligned to the file, not to the range. Offsets and sizes are 64-bit\n"
  "and may be written in decimal, octal or hexadecimal, also in full-width digits.\n"
  "Its texts are Japanese; every outcome is told by the exit code alone.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win32)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  if(CMAKE_CROSSCOMPILING)
    # Debian's name of the target processor, not the building machine's.
    set(debian_architectures aarch64 arm64 s390x s390x i686 i386 x86_64 amd64)
    list(FIND debian_architectures ${CMAKE_SYSTEM_PROCESSOR} found)
    if(NOT found EQUAL -1)
      math(EXPR found "${found} + 1")
      list(GET debian_architectures ${found} CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
    endif()
  endif()
endif()
include(CPack)
