# The picture and font libraries, as the target tavrino_media. With TAVRINO_STATIC_LIBS they are
# linked from their static archives, and the programs take libstdc++ and libgcc in too: each
# shared library costs the loader time at every start (about 2 ms for these), and the game
# measures its start-up against a bare SDL window.
option(TAVRINO_STATIC_LIBS "Link libstdc++ and the picture and font libraries statically" ON)

pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)

add_library(tavrino_media INTERFACE)
if(NOT TAVRINO_STATIC_LIBS)
  target_link_libraries(tavrino_media INTERFACE PkgConfig::JPEG PkgConfig::FREETYPE PkgConfig::FONTCONFIG)
  return()
endif()

pkg_check_modules(MEDIA REQUIRED freetype2 fontconfig libjpeg)
target_include_directories(tavrino_media INTERFACE ${MEDIA_STATIC_INCLUDE_DIRS})
target_compile_options(tavrino_media INTERFACE ${MEDIA_STATIC_CFLAGS_OTHER})
# Each library pkg-config lists for a static link, from its archive where there is one; the
# C runtime's own libraries stay shared.
set(_archives)
foreach(_lib IN LISTS MEDIA_STATIC_LIBRARIES)
  if(_lib MATCHES "^(c|m|dl|pthread|rt)$")
    list(APPEND _archives ${_lib})
    continue()
  endif()
  find_library(TAVRINO_ARCHIVE_${_lib} NAMES lib${_lib}.a HINTS ${MEDIA_STATIC_LIBRARY_DIRS})
  if(TAVRINO_ARCHIVE_${_lib})
    list(APPEND _archives ${TAVRINO_ARCHIVE_${_lib}})
  else()
    list(APPEND _archives ${_lib})
  endif()
endforeach()
target_link_libraries(tavrino_media INTERFACE ${_archives})

# For the programs themselves: libstdc++ and libgcc inside them. Sanitizer runtimes expect
# the shared ones.
function(tavrino_static_runtime target)
  if(NOT TAVRINO_SANITIZE)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()
