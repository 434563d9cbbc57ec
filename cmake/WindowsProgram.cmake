# tavrino.exe: the Win32 backend, the waveOut device, and the icon, version and manifest
# resources. The icon is packed from the desktop icons by a host tool.
include(cmake/HostPrograms.cmake)
tavrino_host_program(png_to_ico SOURCES src/assets/tools/png_to_ico.cpp)
set(_icons_dir ${PROJECT_SOURCE_DIR}/src/assets/desktop/icons)
set(_icons)
foreach(_size 32 48 64 96 128)
  list(APPEND _icons ${_icons_dir}/${_size}x${_size}/tavrino.png)
endforeach()
set(TAVRINO_ICO ${CMAKE_BINARY_DIR}/tavrino.ico)
add_custom_command(
  OUTPUT ${TAVRINO_ICO}
  COMMAND ${png_to_ico_COMMAND} ${TAVRINO_ICO} ${_icons}
  DEPENDS ${png_to_ico_DEPENDS} ${_icons}
  COMMENT "Packing the program icon"
  VERBATIM)
set(TAVRINO_MANIFEST ${CMAKE_BINARY_DIR}/tavrino.manifest)
configure_file(src/platform/win32/tavrino.manifest ${TAVRINO_MANIFEST} @ONLY)
configure_file(src/platform/win32/tavrino.rc.in ${CMAKE_BINARY_DIR}/tavrino.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/tavrino.rc PROPERTIES OBJECT_DEPENDS "${TAVRINO_ICO};${TAVRINO_MANIFEST}")

add_executable(tavrino WIN32 src/main_win32.cpp ${CMAKE_BINARY_DIR}/tavrino.rc)
target_link_libraries(tavrino PRIVATE tavrino_options tavrino_game tavrino_runtime tavrino_audio tavrino_win32)
target_compile_definitions(tavrino PRIVATE TAVRINO_VERSION="${PROJECT_VERSION}")
install(TARGETS tavrino RUNTIME DESTINATION .)

if(TAVRINO_TESTS)
  # tavrino.exe runs from a single file: it imports system DLLs only.
  find_program(TAVRINO_OBJDUMP NAMES ${TAVRINO_MINGW_TRIPLE}-objdump REQUIRED)
  set(_allowed KERNEL32.dll USER32.dll GDI32.dll WINMM.dll msvcrt.dll)
  add_test(NAME windows_exe_imports_only_system_dlls
           COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${TAVRINO_OBJDUMP} -DPROGRAM=$<TARGET_FILE:tavrino>
                   "-DALLOWED=${_allowed}" -P ${PROJECT_SOURCE_DIR}/cmake/CheckImports.cmake)

  # The real tavrino.exe played under Wine with the mouse (tests/e2e/play_test.py), on the X
  # display the test command gives (it skips without one). The close helper is a host program.
  find_package(Python3 COMPONENTS Interpreter)
  find_library(TAVRINO_HOST_X11 NAMES X11 PATHS /usr/lib/x86_64-linux-gnu NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
  if(Python3_FOUND AND TAVRINO_HOST_X11)
    set(_close_helper ${CMAKE_BINARY_DIR}/host/x11-close-window)
    add_custom_command(
      OUTPUT ${_close_helper}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
      COMMAND ${TAVRINO_HOST_CXX} -O1 ${PROJECT_SOURCE_DIR}/tests/e2e/x11_close_window.cpp -lX11 -o ${_close_helper}
      DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/x11_close_window.cpp
      VERBATIM)
    add_custom_target(x11-close-window ALL DEPENDS ${_close_helper})
    # play_test.py starts the program by path: a script that runs it under Wine in place.
    list(JOIN CMAKE_CROSSCOMPILING_EMULATOR "' '" _emulator)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/tavrino-under-wine
         CONTENT "#!/bin/sh\n# tavrino.exe under the test prefix's Wine, keeping this process id.\nexec '${_emulator}' '$<TARGET_FILE:tavrino>' \"$@\"\n"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    add_test(NAME wine_tavrino_play
             COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/e2e/play_test.py
                     --close-helper ${_close_helper} ${CMAKE_BINARY_DIR}/tavrino-under-wine)
    set_tests_properties(wine_tavrino_play PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
  endif()

  # The first frame painted under Wine is the Linux build's, pixel for pixel (the same font files
  # are linked into the prefix). The Linux build's tool is made by scripts/test-windows.
  if(Python3_FOUND)
    set(TAVRINO_LINUX_BUILD ${PROJECT_SOURCE_DIR}/build CACHE PATH "The Linux build the Windows build's frame is compared with")
    list(JOIN CMAKE_CROSSCOMPILING_EMULATOR "' '" _emulator)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/first-frame-under-wine
         CONTENT "#!/bin/sh\n# tavrino-first-frame.exe under the test prefix's Wine.\nexec '${_emulator}' '$<TARGET_FILE:tavrino-first-frame>' \"$@\"\n"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    add_test(NAME windows_first_frame_as_on_linux
             COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/e2e/first_frame_test.py
                     ${TAVRINO_LINUX_BUILD}/tools/first-frame/tavrino-first-frame ${CMAKE_BINARY_DIR}/first-frame-under-wine)
    set_tests_properties(windows_first_frame_as_on_linux PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
  endif()
endif()

# The 30 ms timer's punctuality under Wine (not a test: bench/report.py-style JSON on stdout).
add_subdirectory(bench/timing)
