# The web program: undertow.js and undertow.wasm, which the page in web/ loads. The page brings
# the assets into the program's file system before main runs, passes the program's arguments and
# reads its output lines (Module.arguments, Module.print, Module.printErr), and learns the exit
# code when the run ends (Module.onExit).
set(UNDERTOW_WEB_LINK_OPTIONS
  # WebGL 2, an OpenGL ES 3.0 context, and nothing older.
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  # SDL2's browser audio calls autoResumeAudioContext and dynCall, which emcc leaves out unless
  # asked; the names come from a file, as a '$' would not survive make and the shell.
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/cmake/web-library-functions.json
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
  # The page writes the assets into the file system itself.
  -sFORCE_FILESYSTEM=1
  "-sEXPORTED_RUNTIME_METHODS=FS,callMain,addRunDependency,removeRunDependency"
  # What the page's scripts call (platform/web/page_calls.cpp).
  "-sEXPORTED_FUNCTIONS=_main,_undertow_pause_or_play,_undertow_seek_to,_undertow_phase,_undertow_seconds,_undertow_music_seconds"
  # The end of the run ends the runtime, so Module.onExit gets the exit code.
  -sEXIT_RUNTIME=1
  -sENVIRONMENT=web)
target_link_options(undertow PRIVATE ${UNDERTOW_WEB_LINK_OPTIONS})
