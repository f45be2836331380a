# What `cmake --install` puts under the prefix (GNUInstallDirs, so any prefix and DESTDIR work),
# and the Debian package that `make package` makes of it with CPack.
#   bin/tolvane, bin/tolvane-convert
#   share/tolvane/icons/                      the images that the outputs name
#   share/applications/ID.desktop             the desktop's menu entry
#   share/metainfo/ID.metainfo.xml            the software centre's description
#   share/icons/hicolor/*/apps/ID.{svg,png}   the application icon
#   share/man/man1/tolvane.1.gz, tolvane-convert.1.gz
#   share/doc/tolvane/copyright, changelog.gz   (named after the package)
include(GNUInstallDirs)

# One application id for the desktop entry, the icon and the metainfo.
set(TOLVANE_APP_ID org.tolvane.Tolvane)

# The programs find the installed icons from their own folder, so the installation can move.
file(RELATIVE_PATH TOLVANE_ICONS_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_DATADIR}/tolvane/icons)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/settings/conversion_settings.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS TOLVANE_INSTALLED_ICONS="${TOLVANE_ICONS_FROM_BIN}")

# The application icon, drawn by a tool of our own into the build's share/icons/hicolor.
add_executable(make_app_icon tools/make_app_icon.cpp)
target_link_libraries(make_app_icon PRIVATE ZLIB::ZLIB)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/share/icons/hicolor/scalable/apps/${TOLVANE_APP_ID}.svg
  COMMAND make_app_icon ${CMAKE_BINARY_DIR}/share/icons ${TOLVANE_APP_ID}
  DEPENDS make_app_icon
  COMMENT "Drawing the application icon"
  VERBATIM)

# Manual pages and the change log, compressed as Debian keeps them.
set(TOLVANE_COMPRESSED "")
foreach(source data/man/tolvane.1 data/man/tolvane-convert.1 data/changelog)
  get_filename_component(name ${source} NAME)
  set(packed ${CMAKE_BINARY_DIR}/share/packed/${name}.gz)
  add_custom_command(
    OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/packed
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/${source} > ${packed}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    COMMENT "Compressing ${name}")
  list(APPEND TOLVANE_COMPRESSED ${packed})
endforeach()
add_custom_target(install_files ALL DEPENDS
  ${CMAKE_BINARY_DIR}/share/icons/hicolor/scalable/apps/${TOLVANE_APP_ID}.svg
  ${TOLVANE_COMPRESSED})

install(TARGETS tolvane-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TOLVANE_BUILD_UI)
  install(TARGETS tolvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${TOLVANE_MAP_ICONS} DESTINATION ${CMAKE_INSTALL_DATADIR}/tolvane/icons)
install(FILES data/${TOLVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${TOLVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/share/icons/hicolor
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_BINARY_DIR}/share/packed/tolvane.1.gz
  ${CMAKE_BINARY_DIR}/share/packed/tolvane-convert.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The copyright file names the holders of the built-in Leaflet (cmake/leaflet_copyright.cmake).
configure_file(data/copyright.in ${CMAKE_BINARY_DIR}/share/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/share/copyright ${CMAKE_BINARY_DIR}/share/packed/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tolvane)

# The Debian package: tolvane_VERSION_ARCH.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tolvane developers")
set(CPACK_PACKAGE_CONTACT "The Tolvane developers <developers@tolvane.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert GPS logs and photos into KML or an HTML map page")
# The extended description; CPack puts the summary above it and indents every line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tolvane reads the NMEA text logs of a portable GPS logger, and the photos of a
camera, and writes either a KML document or a self-contained HTML map page:
time-stamped placemarks with heading icons, distance, speed and course; the
track as lines, darker where the receiver lost reception; and each photo
placed on the track by its capture time, with a reduced copy beside the
output.

The package holds the window (tolvane) and the command-line converter
(tolvane-convert).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
