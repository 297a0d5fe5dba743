# KESTAVON_SANITIZE: build every target of the project under sanitizers. Empty (the default)
# builds without; "address,undefined" builds with AddressSanitizer (and LeakSanitizer) and
# UndefinedBehaviorSanitizer; "thread" builds with ThreadSanitizer. A UBSan report aborts the
# program, so it fails the test that triggered it. Qt and the other system libraries stay
# uninstrumented.
set(KESTAVON_SANITIZE "" CACHE STRING "Sanitizers to build with: empty, address,undefined or thread")
set_property(CACHE KESTAVON_SANITIZE PROPERTY STRINGS "" "address,undefined" "thread")

if(KESTAVON_SANITIZE)
  string(REPLACE "," ";" _kestavon_sanitizers "${KESTAVON_SANITIZE}")
  foreach(_s IN LISTS _kestavon_sanitizers)
    if(NOT _s MATCHES "^(address|undefined|thread|leak)$")
      message(FATAL_ERROR "KESTAVON_SANITIZE: unknown sanitizer '${_s}'")
    endif()
  endforeach()
  if("thread" IN_LIST _kestavon_sanitizers AND ("address" IN_LIST _kestavon_sanitizers
                                                OR "leak" IN_LIST _kestavon_sanitizers))
    message(FATAL_ERROR "KESTAVON_SANITIZE: thread does not combine with address or leak")
  endif()

  set(_kestavon_sanitize_flags -fsanitize=${KESTAVON_SANITIZE} -fno-omit-frame-pointer)
  if("undefined" IN_LIST _kestavon_sanitizers)
    list(APPEND _kestavon_sanitize_flags -fno-sanitize-recover=all)
  endif()
  add_compile_options(${_kestavon_sanitize_flags})
  add_link_options(-fsanitize=${KESTAVON_SANITIZE})
  message(STATUS "Kestavon: building with -fsanitize=${KESTAVON_SANITIZE}")
endif()
