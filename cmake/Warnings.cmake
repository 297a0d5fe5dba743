# Our own code builds with warnings as errors; third-party headers come in as system includes.
function(kestavon_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
    -Wno-error=deprecated-declarations)
endfunction()
