# Installation where a Linux desktop expects a program, and its Debian package:
#   bin/vamor
#   share/vamor/                 the project templates (*.vmt), the help (Vamor.qhc, Vamor.qch,
#                                Vamor_en.*), the translations (vamor_en.qm, vamor_bg.qm)
#   share/applications/vamor.desktop
#   share/icons/hicolor/...      the application icon, and the icon of project files
#   share/mime/packages/vamor.xml  the type of project files (*.vmd)
# An installed program reads its templates and help from share/vamor and makes
# the working copies of its projects in the user's data folder
# (~/.local/share/Vamor); see util/core/AppInfo.h.
include(GNUInstallDirs)

set(VAMOR_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/vamor)
# Where the program finds share/vamor from its own folder.
file(RELATIVE_PATH VAMOR_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/vamor)
target_compile_definitions(vamor_core PRIVATE VAMOR_DATA_FROM_BIN="${VAMOR_DATA_FROM_BIN}")

install(TARGETS vamor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The templates and the help are outputs of the build in the program folder;
# whichever of them the build made is installed.
install(CODE "
  if(NOT EXISTS \"${VAMOR_BIN_DIR}/Vamor.vmt\")
    message(FATAL_ERROR \"The project template Vamor.vmt has not been built in ${VAMOR_BIN_DIR}\")
  endif()
  file(GLOB vamor_data_files \"${VAMOR_BIN_DIR}/*.vmt\" \"${VAMOR_BIN_DIR}/Vamor.qhc\" \"${VAMOR_BIN_DIR}/Vamor.qch\" \"${VAMOR_BIN_DIR}/Vamor_en.qhc\" \"${VAMOR_BIN_DIR}/Vamor_en.qch\" \"${VAMOR_BIN_DIR}/vamor_*.qm\")
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${VAMOR_INSTALL_DATADIR}\" TYPE FILE
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
       FILES \${vamor_data_files})
")

set(VAMOR_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
install(FILES ${VAMOR_PACKAGING_DIR}/vamor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VAMOR_PACKAGING_DIR}/vamor-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME vamor.xml)
# What Debian asks of every package in its documentation folder: the terms
# the program comes under, and its changes (compressed, as dpkg keeps them).
install(FILES ${VAMOR_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vamor)
set(VAMOR_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
  OUTPUT ${VAMOR_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9n < '${VAMOR_PACKAGING_DIR}/changelog' > '${VAMOR_CHANGELOG_GZ}'"
  DEPENDS ${VAMOR_PACKAGING_DIR}/changelog
  COMMENT "Package changelog"
  VERBATIM)
add_custom_target(vamor_changelog ALL DEPENDS ${VAMOR_CHANGELOG_GZ})
install(FILES ${VAMOR_CHANGELOG_GZ} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vamor)

set(VAMOR_ICON ${CMAKE_SOURCE_DIR}/app/resources/vamor.svg)
install(FILES ${VAMOR_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${VAMOR_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-vamor-project.svg)

# Bitmap icons for desktops that do not draw SVG, when rsvg-convert is there.
find_program(VAMOR_RSVG_CONVERT rsvg-convert)
if(VAMOR_RSVG_CONVERT)
  set(vamor_pngs)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}/vamor.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
      COMMAND ${VAMOR_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${VAMOR_ICON}
      DEPENDS ${VAMOR_ICON}
      COMMENT "Icon ${size}x${size}"
      VERBATIM)
    list(APPEND vamor_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
            RENAME application-x-vamor-project.png)
  endforeach()
  add_custom_target(vamor_icons ALL DEPENDS ${vamor_pngs})
endif()

# The Debian package: cpack -G DEB in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vamor)
set(CPACK_PACKAGE_VENDOR "Vamor")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "conversion of amounts from old lei to new lei in databases")
set(CPACK_PACKAGE_DESCRIPTION
"Vamor converts the money columns of the user's own databases (SQLite,
PostgreSQL, MariaDB/MySQL, SQL Server, Access, dBase and FoxPro files, any
ODBC source) from old lei to new lei (10 000 : 1) and back, keeping a
recovery column with the original amounts. A project file (*.vmd) describes
the data sources, tables and fields; the desktop program edits it and
converts, and 'vamor --convert' converts without a display.")
set(CPACK_PACKAGE_CONTACT "Vamor <vamor@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links to (Qt 6, SQLite, unixODBC) come from
# dpkg-shlibdeps; the toolkit's plugins it loads are named here: the SQLite
# driver through which the help reads its collection.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# The ODBC drivers of the databases most users have, and Qt's Romanian texts
# for its own dialogs; Access files and SQLite through ODBC on request.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "unixodbc, odbc-postgresql, odbc-mariadb, tdsodbc, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "odbc-mdbtools, libsqliteodbc")
include(CPack)
