# Configures, as the Apple build does, the files the macOS check compiles or reads: the build's
# BuildConfig.h and the bundle's Info.plist. Run by scripts/macos-check with -DOUT=<folder>.
cmake_minimum_required(VERSION 3.25)
get_filename_component(root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
file(READ "${root}/CMakeLists.txt" top)
string(REGEX MATCH "project\\(Kestavon VERSION ([0-9.]+)" _ "${top}")
set(PROJECT_VERSION "${CMAKE_MATCH_1}")
set(KESTAVON_BUILD_NUMBER 1)
set(KESTAVON_FEED_URL "https://kestavon.example/appcast.xml")
set(KESTAVON_SPARKLE_PUBLIC_KEY "check-only")
configure_file("${root}/src/Support/BuildConfig.h.in" "${OUT}/generated/Support/BuildConfig.h" @ONLY)
configure_file("${root}/src/Platform/MacOS/Info.plist.in" "${OUT}/Info.plist" @ONLY)
