# `make package`: the Debian package of the installed program (CPack's DEB
# generator), licensed GPL-3.0-or-later. Included from the top directory after
# the install rules of data/data.cmake.
include(GNUInstallDirs)

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/vellumar)
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright DESTINATION ${doc_dir})
# Debian's changelog of a native package, compressed as policy wants it.
set(changelog_gz ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/data/changelog > ${changelog_gz}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/changelog
    VERBATIM)
add_custom_target(changelog ALL DEPENDS ${changelog_gz})
install(FILES ${changelog_gz} DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
# The values reach CPack's configuration as written (the description's quotes).
set(CPACK_VERBATIM_VARIABLES TRUE)
set(CPACK_PACKAGE_NAME vellumar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Vellumar developers <developers@vellumar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "map editor for the game Kozarak")
set(CPACK_PACKAGE_DESCRIPTION "Vellumar shows a Kozarak map's terrain with its objects as markers and
lets you place, move and edit the objects with the mouse or in a table,
then saves the map in the game's own format. Object lists can be exported
to and imported from text tables.
.
Wine is recommended: the editor's \"Auto repack\" runs the game's Windows
packing tool through it after a save.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://vellumar.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A tool for the game's maps, not a game: lintian keeps "games" for programs
# in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS wine)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# CPack's own `package` target builds everything first, the tests and
# benchmarks too. `deb-package` builds only what the package holds (the two
# programs, the icons built into the editor, the manual pages, the
# changelog) and then runs CPack on it.
add_custom_target(deb-package
    COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Packing the Debian package"
    USES_TERMINAL
    VERBATIM)
add_dependencies(deb-package vellumar vellumar-cli manpages changelog)
