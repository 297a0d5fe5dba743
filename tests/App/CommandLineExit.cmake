# The kestavon program's answers that need no display: help and version print and succeed, an
# unknown option prints the reason and the usage and fails with status 2, and a start with no
# display at all says why. Run as: cmake -DAPP=<kestavon> -P CommandLineExit.cmake
set(failures 0)

# expect(STATUS OUT_REGEX ERR_REGEX ARGS...): runs the program with ARGS, no display set.
function(expect status out_regex err_regex)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            XDG_DATA_HOME=/nonexistent/kestavon-command-line-test ${APP} ${ARGN}
    RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  set(problems "")
  if(NOT got STREQUAL status)
    string(APPEND problems " status ${got}, expected ${status};")
  endif()
  if(NOT out MATCHES "${out_regex}")
    string(APPEND problems " stdout does not match '${out_regex}';")
  endif()
  if(NOT err MATCHES "${err_regex}")
    string(APPEND problems " stderr does not match '${err_regex}';")
  endif()
  if(problems)
    message(SEND_ERROR "kestavon ${ARGN}:${problems}\n--- stdout:\n${out}--- stderr:\n${err}")
  endif()
endfunction()

expect(0 "^Usage: kestavon \\[--background \\| --quit \\| --jump KEY \\| --setup-sway \\| --help \\| --version\\]\n" "^$" --help)
expect(0 "^Usage: kestavon " "^$" -h)
expect(0 "^Kestavon [0-9]+\\.[0-9]+\\.[0-9]+ \\([^)]+\\)\n$" "^$" --version)
expect(2 "^$" "^kestavon: unknown option \"--frobnicate\"\n\nUsage: kestavon " --frobnicate)
expect(2 "^$" "^kestavon: unexpected argument \"firefox\"\n\nUsage: kestavon " firefox)
expect(2 "^$" "unknown option \"--nope\"" --background --nope)
expect(2 "^$" "^kestavon: \"9-z\" is not one of Kestavon's keys" --jump 9-z)
expect(1 "^$" "^Kestavon is not running: start it first" --jump 1-q)
expect(1 "^$" "no display to run on" --background)
expect(1 "^$" "no display to run on")
