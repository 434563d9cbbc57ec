# Build-time tools that run on the build machine. Natively they are ordinary targets; when
# cross-building they are compiled by the host's C++ compiler in a custom command, so the
# build needs no second configure.
#
# tavrino_host_program(NAME SOURCES ...) sets ${NAME}_COMMAND to the program to run and
# ${NAME}_DEPENDS to what a custom command using it depends on.
if(CMAKE_CROSSCOMPILING)
  find_program(TAVRINO_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
endif()

function(tavrino_host_program name)
  cmake_parse_arguments(H "" "" "SOURCES" ${ARGN})
  if(NOT CMAKE_CROSSCOMPILING)
    add_executable(${name} ${H_SOURCES})
    target_link_libraries(${name} PRIVATE tavrino_options)
    set(${name}_COMMAND ${name} PARENT_SCOPE)
    set(${name}_DEPENDS ${name} PARENT_SCOPE)
    return()
  endif()
  set(_out ${CMAKE_BINARY_DIR}/host/${name})
  set(_sources)
  foreach(_s IN LISTS H_SOURCES)
    get_filename_component(_abs ${_s} ABSOLUTE)
    list(APPEND _sources ${_abs})
  endforeach()
  add_custom_command(
    OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${TAVRINO_HOST_CXX} -std=c++20 -O2 -I${PROJECT_SOURCE_DIR}/src ${_sources} -o ${_out}
    DEPENDS ${_sources}
    COMMENT "Building the host tool ${name}"
    VERBATIM)
  add_custom_target(${name} DEPENDS ${_out})
  set(${name}_COMMAND ${_out} PARENT_SCOPE)
  set(${name}_DEPENDS ${name} ${_out} PARENT_SCOPE)
endfunction()
