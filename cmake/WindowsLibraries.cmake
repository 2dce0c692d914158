# The libraries of the Windows build: SDL2, SDL2_mixer, FreeType and libpng as static libraries
# from the cache scripts/windows-libs.sh builds (UNDERTOW_WINDOWS_LIBS names it), zlib from
# Debian's MinGW-w64 package, OpenGL and GLU from Windows itself (opengl32, glu32).
set(UNDERTOW_WINDOWS_LIBS "" CACHE PATH "The prefix scripts/windows-libs.sh printed")
if(NOT EXISTS "${UNDERTOW_WINDOWS_LIBS}/lib/pkgconfig/sdl2.pc")
  message(FATAL_ERROR "UNDERTOW_WINDOWS_LIBS must name the folder scripts/windows-libs.sh printed")
endif()
set(ENV{PKG_CONFIG_LIBDIR} "${UNDERTOW_WINDOWS_LIBS}/lib/pkgconfig:${CMAKE_FIND_ROOT_PATH}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
list(APPEND CMAKE_PREFIX_PATH ${UNDERTOW_WINDOWS_LIBS})
# Static libraries only (zlib comes with an import library too), each bringing what it needs.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(PKG_CONFIG_ARGN --static)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
# SDL2_mixer's CMake build writes no pkg-config file; with only its own decoders it needs
# nothing beyond SDL2.
find_library(SDL2_MIXER_LIBRARY SDL2_mixer PATHS ${UNDERTOW_WINDOWS_LIBS}/lib NO_DEFAULT_PATH REQUIRED)
# Before SDL2, whose functions it calls: a static link resolves left to right.
get_target_property(UNDERTOW_SDL2_LIBRARIES PkgConfig::SDL2 INTERFACE_LINK_LIBRARIES)
set_target_properties(PkgConfig::SDL2 PROPERTIES
  INTERFACE_LINK_LIBRARIES "${SDL2_MIXER_LIBRARY};${UNDERTOW_SDL2_LIBRARIES}")
pkg_check_modules(FONTS REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
find_package(OpenGL REQUIRED)
set(UNDERTOW_FONT_LIBRARIES PkgConfig::FONTS)
set(UNDERTOW_GL_LIBRARIES OpenGL::GL glu32)
# The program's own main() stays the entry point (sdl2.pc would rename it for SDL2main, and
# app/ does not include SDL); the manifest's UTF-8 code page gives it its arguments in UTF-8.
get_target_property(UNDERTOW_SDL2_OPTIONS PkgConfig::SDL2 INTERFACE_COMPILE_OPTIONS)
list(REMOVE_ITEM UNDERTOW_SDL2_OPTIONS -Dmain=SDL_main)
set_target_properties(PkgConfig::SDL2 PROPERTIES INTERFACE_COMPILE_OPTIONS "${UNDERTOW_SDL2_OPTIONS}")
add_compile_definitions(SDL_MAIN_HANDLED)
