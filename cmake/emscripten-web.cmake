# Builds the program for the web browser with Debian's Emscripten: its own toolchain file, with
# the one thing this machine needs besides. emcc's JavaScript optimiser loads acorn, which
# Debian keeps in /usr/share/nodejs; a node from elsewhere does not look there.
execute_process(COMMAND em-config EMSCRIPTEN_ROOT OUTPUT_VARIABLE UNDERTOW_EMSCRIPTEN_ROOT
  OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT UNDERTOW_EMSCRIPTEN_ROOT)
  set(UNDERTOW_EMSCRIPTEN_ROOT /usr/share/emscripten)
endif()
include(${UNDERTOW_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR node)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_C_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
