# Compile options every target of the project shares.
add_library(tavrino_options INTERFACE)
target_compile_options(tavrino_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough)
target_include_directories(tavrino_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
