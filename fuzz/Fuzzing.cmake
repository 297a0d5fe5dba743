# Included from the top level when KESTAVON_FUZZ is on, before the sources: every library of
# the project is built with libFuzzer's coverage hooks, AddressSanitizer (with leak checks) and
# UndefinedBehaviorSanitizer, so a fault inside the logic is found, not only one in a fuzzer.
# The fuzzer executables add libFuzzer's driver; they live in fuzz/.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "KESTAVON_FUZZ needs clang++ (configure with CXX=clang++)")
endif()
if(KESTAVON_SANITIZE)
  message(FATAL_ERROR "KESTAVON_FUZZ brings its own sanitizers; leave KESTAVON_SANITIZE empty")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
message(STATUS "Kestavon: building the fuzz targets")

add_subdirectory(${CMAKE_CURRENT_LIST_DIR} ${CMAKE_BINARY_DIR}/fuzz)
