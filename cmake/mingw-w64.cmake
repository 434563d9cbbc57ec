# CMake toolchain file: cross-builds 64-bit Windows programs with Debian's MinGW-w64 (posix threads) and runs them under Wine.
#
# Use:  cmake -S . -B build-windows \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DTAVRINO_WINDOWS_DEPS="$(scripts/windows-deps)"
#
# Variables it reads (a -D cache entry, else the environment variable of the same name):
#   TAVRINO_WINDOWS_DEPS  required: the prefix holding the static FreeType, libjpeg-turbo and
#                         GoogleTest that scripts/windows-deps built (it prints that path).
#   TAVRINO_WINEPREFIX    the Wine prefix that tests run in; defaults to the one scripts/wine-prefix
#                         makes ($HOME/.cache/tavrino-wine). Warm it with scripts/wine-prefix first.
#
# What it sets:
#   - compilers x86_64-w64-mingw32-{gcc,g++}-posix (the win32 thread model has no std::mutex)
#     and windres for resources;
#   - CMAKE_FIND_ROOT_PATH = the MinGW sysroot and TAVRINO_WINDOWS_DEPS, libraries, headers and
#     packages searched there only, programs on the host;
#   - linking -static -static-libgcc -static-libstdc++, so an .exe imports Windows system DLLs only;
#   - CMAKE_CROSSCOMPILING_EMULATOR = Wine (64-bit, quiet, the private prefix, no Mono/Gecko
#     prompts), so add_test, gtest_discover_tests and ctest run the .exe files under Wine.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVRINO_MINGW_TRIPLE x86_64-w64-mingw32)

# try_compile projects re-read this file in a fresh scope: hand them the two paths.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVRINO_WINDOWS_DEPS TAVRINO_WINEPREFIX)

if(NOT TAVRINO_WINDOWS_DEPS AND DEFINED ENV{TAVRINO_WINDOWS_DEPS})
  set(TAVRINO_WINDOWS_DEPS "$ENV{TAVRINO_WINDOWS_DEPS}")
endif()
if(NOT TAVRINO_WINDOWS_DEPS)
  message(FATAL_ERROR
    "mingw-w64.cmake: TAVRINO_WINDOWS_DEPS is not set. Build the Windows libraries with "
    "scripts/windows-deps and pass the path it prints: -DTAVRINO_WINDOWS_DEPS=<path>")
endif()
set(TAVRINO_WINDOWS_DEPS "${TAVRINO_WINDOWS_DEPS}" CACHE PATH
    "Prefix of the static Windows libraries built by scripts/windows-deps")

if(NOT TAVRINO_WINEPREFIX)
  if(DEFINED ENV{TAVRINO_WINEPREFIX})
    set(TAVRINO_WINEPREFIX "$ENV{TAVRINO_WINEPREFIX}")
  else()
    set(TAVRINO_WINEPREFIX "$ENV{HOME}/.cache/tavrino-wine")
  endif()
endif()
set(TAVRINO_WINEPREFIX "${TAVRINO_WINEPREFIX}" CACHE PATH "Wine prefix the tests run in")

find_program(CMAKE_C_COMPILER NAMES ${TAVRINO_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TAVRINO_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TAVRINO_MINGW_TRIPLE}-windres REQUIRED)
find_program(TAVRINO_WINE NAMES wine REQUIRED)

set(CMAKE_FIND_ROOT_PATH "/usr/${TAVRINO_MINGW_TRIPLE}" "${TAVRINO_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Prefer the static archive where the sysroot also has an import library (zlib has both).
set(CMAKE_FIND_LIBRARY_SUFFIXES .a .dll.a .lib)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# /usr/bin/wine picks wine64 when there is no 32-bit Wine; WINEDEBUG=-all also silences its
# warning about that. Empty mscoree/mshtml overrides stop Wine offering to install Mono/Gecko,
# and winemenubuilder is kept from writing menu entries into $HOME.
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env
    "WINEPREFIX=${TAVRINO_WINEPREFIX}"
    WINEDEBUG=-all
    "WINEDLLOVERRIDES=mscoree,mshtml=\;winemenubuilder.exe=d"
    "${TAVRINO_WINE}")
