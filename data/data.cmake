# The desktop files of the program, each written once here in data/ and used
# by the install rules, the build and the file association: the desktop
# entry, the MIME type (compiled into the program, which the association
# writes for a copy that is not installed), the icon (48 and 256 pixel PNGs
# rendered from the SVG at build time, also the windows' icon) and the
# AppStream metadata. Included from src/, where the program's targets are.
include(GNUInstallDirs)

set(VELLUMAR_APP_ID org.vellumar.Vellumar)
set(data_dir ${PROJECT_SOURCE_DIR}/data)
set(icon_svg ${data_dir}/${VELLUMAR_APP_ID}.svg)

find_program(VELLUMAR_RSVG_CONVERT rsvg-convert)
if(NOT VELLUMAR_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert (Debian package librsvg2-bin) renders the program's icon: run make deps-run")
endif()
set(icon_pngs)
foreach(size 48 256)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons
        COMMAND ${VELLUMAR_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${icon_svg}
        DEPENDS ${icon_svg}
        COMMENT "Rendering the ${size} pixel icon"
        VERBATIM)
    list(APPEND icon_pngs ${png})
    if(NOT WIN32)
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME ${VELLUMAR_APP_ID}.png)
    endif()
endforeach()
qt_add_resources(vellumar "icons" PREFIX /vellumar BASE ${CMAKE_CURRENT_BINARY_DIR} FILES ${icon_pngs})
target_compile_definitions(vellumar_core PUBLIC VELLUMAR_APP_ID="${VELLUMAR_APP_ID}")
# The Windows build keeps its association in the registry and carries no
# freedesktop file.
if(NOT WIN32)
    qt_add_resources(vellumar_core "mimetype" PREFIX /vellumar BASE ${data_dir} FILES ${data_dir}/${VELLUMAR_APP_ID}.xml)
endif()

# Where an installed copy finds its bundled item.ini and kzmap.dat, from bin/.
file(RELATIVE_PATH bundled_from_bin /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_DATADIR}/vellumar)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/settings/programdir.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS VELLUMAR_BUNDLED_FROM_BIN="${bundled_from_bin}")

install(TARGETS vellumar vellumar-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/samples/item.ini ${PROJECT_SOURCE_DIR}/samples/kzmap.dat
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vellumar)

# Windows: the icon, version information and manifest inside the programs;
# its zip and installer are made by scripts/windows/package.sh.
if(WIN32)
    include(${PROJECT_SOURCE_DIR}/packaging/windows/resources.cmake)
    return()
endif()

configure_file(${data_dir}/${VELLUMAR_APP_ID}.metainfo.xml ${CMAKE_CURRENT_BINARY_DIR}/${VELLUMAR_APP_ID}.metainfo.xml @ONLY)

install(FILES ${data_dir}/${VELLUMAR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data_dir}/${VELLUMAR_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${VELLUMAR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual pages, compressed as Debian's policy wants them.
set(man_pages)
foreach(page vellumar vellumar-cli)
    set(page_in ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1)
    configure_file(${data_dir}/man/${page}.1 ${page_in} @ONLY)
    add_custom_command(OUTPUT ${page_in}.gz
        COMMAND gzip -9nc ${page_in} > ${page_in}.gz
        DEPENDS ${page_in}
        VERBATIM)
    list(APPEND man_pages ${page_in}.gz)
    install(FILES ${page_in}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(manpages ALL DEPENDS ${man_pages})
