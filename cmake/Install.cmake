# Install rules and the Debian package. The generated assets are copied from the build's asset
# folder, so `cmake --build` must have run before `cmake --install` or `cpack`.
include(GNUInstallDirs)

# A reverse-DNS id as AppStream asks for; example.org until the project has a domain of its own.
set(UNDERTOW_APP_ID org.example.undertow)

install(TARGETS undertow undertow-assets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program finds these through ../share/undertow from its own folder.
install(DIRECTORY ${UNDERTOW_ASSET_DIR}/TEKSTURY ${UNDERTOW_ASSET_DIR}/DANE
  DESTINATION ${CMAKE_INSTALL_DATADIR}/undertow)
install(FILES ${UNDERTOW_ASSET_DIR}/undertow.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${UNDERTOW_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${UNDERTOW_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${UNDERTOW_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/undertow RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME undertow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Undertow developers")
set(CPACK_PACKAGE_CONTACT "The Undertow developers <undertow@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "self-running real-time 3D demo in the style of the early OpenGL era")
set(CPACK_PACKAGE_DESCRIPTION "A 640x480 OpenGL demo: a progress bar while the textures load, then music \
and a 200-second timeline of four scenes. Renders with any OpenGL driver, Mesa's software \
rasterizer included, and records itself to video or measures frame times without a display.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)   # undertow_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# SDL opens EGL and the Mesa drivers at run time, so the linker cannot see them.
set(UNDERTOW_DEB_LOADED_AT_RUN_TIME "libegl1, libgl1-mesa-dri")
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
  # The libraries the two programs link, with the versions this system's packages give.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${UNDERTOW_DEB_LOADED_AT_RUN_TIME}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, libsdl2-mixer-2.0-0, libgl1, libglu1-mesa, \
libfreetype6, libfontconfig1, libpng16-16, zlib1g, libmp3lame0, libebur128-1, ${UNDERTOW_DEB_LOADED_AT_RUN_TIME}")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg, fonts-liberation")
include(CPack)
