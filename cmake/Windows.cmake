# The Windows program and its packages: a GUI-subsystem undertow.exe with its manifest, icon and
# version information, linked statically (no runtime DLL to ship), and a ZIP and an NSIS
# installer holding it with the assets the Linux generator made (UNDERTOW_ASSET_DIR), the
# fallback font and the licences.
set(UNDERTOW_ASSET_DIR "" CACHE PATH "A folder the Linux generator filled (TEKSTURY, DANE, undertow.png)")
set(UNDERTOW_PACKAGE_EXTRAS "" CACHE PATH "README.txt, licences/ and fonts/ gathered by scripts/package-windows.sh")

set(UNDERTOW_RESOURCE_DIR ${CMAKE_BINARY_DIR}/resources)
string(REPLACE "." "," UNDERTOW_VERSION_COMMAS "${PROJECT_VERSION}.0")
configure_file(${CMAKE_SOURCE_DIR}/dist/windows/undertow.manifest ${UNDERTOW_RESOURCE_DIR}/undertow.manifest COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/dist/windows/undertow.rc.in ${UNDERTOW_RESOURCE_DIR}/undertow.rc @ONLY)
if(EXISTS "${UNDERTOW_ASSET_DIR}/undertow.png")
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_custom_command(OUTPUT ${UNDERTOW_RESOURCE_DIR}/undertow.ico
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/png-to-ico.py
            ${UNDERTOW_ASSET_DIR}/undertow.png ${UNDERTOW_RESOURCE_DIR}/undertow.ico
    DEPENDS ${UNDERTOW_ASSET_DIR}/undertow.png ${CMAKE_SOURCE_DIR}/scripts/png-to-ico.py
    COMMENT "Making the program's icon")
  set_property(SOURCE ${UNDERTOW_RESOURCE_DIR}/undertow.rc APPEND PROPERTY OBJECT_DEPENDS ${UNDERTOW_RESOURCE_DIR}/undertow.ico)
  set_property(SOURCE ${UNDERTOW_RESOURCE_DIR}/undertow.rc APPEND PROPERTY COMPILE_DEFINITIONS UNDERTOW_HAS_ICON)
endif()
enable_language(RC)
target_sources(undertow PRIVATE ${UNDERTOW_RESOURCE_DIR}/undertow.rc)
set_property(SOURCE ${UNDERTOW_RESOURCE_DIR}/undertow.rc APPEND PROPERTY OBJECT_DEPENDS
  ${UNDERTOW_RESOURCE_DIR}/undertow.manifest)
# -mwindows: the GUI subsystem, so a double-click opens no console. -static: the C++ runtime,
# libgcc and winpthreads go into the program.
target_link_options(undertow PRIVATE -mwindows -static)
# The process-status call behind the resident size a pass of --loop reports.
target_link_libraries(undertow_core PUBLIC psapi)
set_target_properties(undertow PROPERTIES OUTPUT_NAME undertow)

# Everything sits beside the program, where it looks for its assets and its fallback font.
install(TARGETS undertow RUNTIME DESTINATION .)
if(IS_DIRECTORY "${UNDERTOW_ASSET_DIR}/TEKSTURY")
  install(DIRECTORY ${UNDERTOW_ASSET_DIR}/TEKSTURY ${UNDERTOW_ASSET_DIR}/DANE DESTINATION .)
endif()
if(IS_DIRECTORY "${UNDERTOW_PACKAGE_EXTRAS}")
  install(DIRECTORY ${UNDERTOW_PACKAGE_EXTRAS}/ DESTINATION .)
endif()

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME undertow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Undertow developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "self-running real-time 3D demo in the style of the early OpenGL era")
set(CPACK_PACKAGE_FILE_NAME undertow-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Undertow)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Undertow)
set(CPACK_PACKAGE_EXECUTABLES undertow Undertow)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# A 64-bit installer into the 64-bit Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Undertow)
set(CPACK_NSIS_DISPLAY_NAME Undertow)
set(CPACK_NSIS_INSTALLED_ICON_NAME undertow.exe)
set(CPACK_NSIS_MODIFY_PATH OFF)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_CREATE_DESKTOP_LINKS undertow)
if(EXISTS "${UNDERTOW_RESOURCE_DIR}/undertow.ico" OR EXISTS "${UNDERTOW_ASSET_DIR}/undertow.png")
  set(CPACK_NSIS_MUI_ICON ${UNDERTOW_RESOURCE_DIR}/undertow.ico)
  set(CPACK_NSIS_MUI_UNIICON ${UNDERTOW_RESOURCE_DIR}/undertow.ico)
endif()
include(CPack)
