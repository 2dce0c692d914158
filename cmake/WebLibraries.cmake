# The libraries of the web build: SDL2, SDL2_mixer, FreeType, libpng and zlib as static
# WebAssembly libraries from the cache scripts/web-libs.sh builds (UNDERTOW_WEB_LIBS names it).
# The browser's WebGL 2 is the only GL; our layer in gl_layers/ draws the program's OpenGL 1.x
# through it, so no GL or GLU library is linked.
set(UNDERTOW_WEB_LIBS "" CACHE PATH "The prefix scripts/web-libs.sh printed")
if(NOT EXISTS "${UNDERTOW_WEB_LIBS}/lib/pkgconfig/sdl2.pc")
  message(FATAL_ERROR "UNDERTOW_WEB_LIBS must name the folder scripts/web-libs.sh printed")
endif()
set(ENV{PKG_CONFIG_LIBDIR} "${UNDERTOW_WEB_LIBS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# Emscripten's toolchain looks only inside its own system root.
list(APPEND CMAKE_FIND_ROOT_PATH ${UNDERTOW_WEB_LIBS})
set(PKG_CONFIG_ARGN --static)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
# SDL2_mixer's CMake build writes no pkg-config file; with only its own decoders it needs
# nothing beyond SDL2, before which it goes (a static link resolves left to right).
find_library(SDL2_MIXER_LIBRARY SDL2_mixer PATHS ${UNDERTOW_WEB_LIBS}/lib NO_DEFAULT_PATH REQUIRED)
get_target_property(UNDERTOW_SDL2_LIBRARIES PkgConfig::SDL2 INTERFACE_LINK_LIBRARIES)
set_target_properties(PkgConfig::SDL2 PROPERTIES
  INTERFACE_LINK_LIBRARIES "${SDL2_MIXER_LIBRARY};${UNDERTOW_SDL2_LIBRARIES}")
pkg_check_modules(FONTS REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
set(UNDERTOW_FONT_LIBRARIES PkgConfig::FONTS)
set(UNDERTOW_GL_LIBRARIES "")
