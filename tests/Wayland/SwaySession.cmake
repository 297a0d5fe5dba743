# kestavon_sway_session: the headless sway session and the virtual keyboard (with its protocol
# code from wayland-scanner), shared by the sway tests and the sway stroke benchmark.
if(NOT TARGET kestavon_sway_session)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SWAY_TEST_CLIENT REQUIRED IMPORTED_TARGET wayland-client xkbcommon)
  find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
  # The protocol's generated code is C.
  enable_language(C)

  set(vk_xml ${CMAKE_CURRENT_LIST_DIR}/virtual-keyboard-unstable-v1.xml)
  set(vk_header ${CMAKE_CURRENT_BINARY_DIR}/virtual-keyboard-unstable-v1-client-protocol.h)
  set(vk_code ${CMAKE_CURRENT_BINARY_DIR}/virtual-keyboard-unstable-v1-protocol.c)
  add_custom_command(OUTPUT ${vk_header} COMMAND ${WAYLAND_SCANNER} client-header ${vk_xml} ${vk_header} DEPENDS ${vk_xml})
  add_custom_command(OUTPUT ${vk_code} COMMAND ${WAYLAND_SCANNER} private-code ${vk_xml} ${vk_code} DEPENDS ${vk_xml})

  add_library(kestavon_sway_session STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SwaySession.cpp ${CMAKE_CURRENT_LIST_DIR}/SwaySession.h
    ${CMAKE_CURRENT_LIST_DIR}/VirtualKeyboard.cpp ${CMAKE_CURRENT_LIST_DIR}/VirtualKeyboard.h
    ${vk_header} ${vk_code})
  target_include_directories(kestavon_sway_session PUBLIC ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_LIST_DIR}
    ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(kestavon_sway_session PUBLIC kestavon_sway PkgConfig::SWAY_TEST_CLIENT)
  kestavon_warnings(kestavon_sway_session)

  # A Wayland window that records the keys typed into it.
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(kestavon_sway_window ${CMAKE_CURRENT_LIST_DIR}/TestWindow.cpp)
  target_link_libraries(kestavon_sway_window PRIVATE Qt6::Gui)
  kestavon_warnings(kestavon_sway_window)
endif()
