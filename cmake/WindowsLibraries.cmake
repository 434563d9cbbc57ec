# The Windows build's libraries (static FreeType and libjpeg-turbo from scripts/windows-deps, as
# the target tavrino_media) and its switches: no SDL, no fontconfig, no Linux-only tools.
if(NOT CMAKE_CROSSCOMPILING OR NOT TAVRINO_WINDOWS_DEPS)
  message(FATAL_ERROR "The Windows build is cross-built: configure with -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake")
endif()

find_package(freetype CONFIG REQUIRED)
find_package(libjpeg-turbo CONFIG REQUIRED)

add_library(tavrino_media INTERFACE)
target_link_libraries(tavrino_media INTERFACE freetype libjpeg-turbo::jpeg-static)

# The benchmarks measure the Linux build; the Windows timer figures come from bench/timing alone.
set(TAVRINO_BENCH OFF)
