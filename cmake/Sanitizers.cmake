# TAVRINO_SANITIZE=address,undefined or thread instruments every target.
if(TAVRINO_SANITIZE)
  set(_san -fsanitize=${TAVRINO_SANITIZE} -fno-omit-frame-pointer)
  if(TAVRINO_SANITIZE MATCHES "undefined")
    list(APPEND _san -fno-sanitize-recover=undefined)
  endif()
  add_compile_options(${_san})
  add_link_options(${_san})
endif()
