# The Windows programs' resources: the icon (rendered from the SVG of data/),
# the version information of the file properties and the manifest (Windows 10
# and 11, high-DPI aware per monitor, the common controls of today's look,
# run as the user who starts it). Included from data/data.cmake on Windows,
# in the directory of the program targets.
enable_language(RC)

set(win_dir ${PROJECT_SOURCE_DIR}/packaging/windows)
set(win_out ${CMAKE_CURRENT_BINARY_DIR}/windows)

find_program(VELLUMAR_MAGICK convert)
if(NOT VELLUMAR_MAGICK)
    message(FATAL_ERROR "ImageMagick's convert packs the program's icon: run make windows, which installs it")
endif()

# The sizes Explorer, the task bar and the Start menu ask for.
set(icon_sizes 16 20 24 32 40 48 64 256)
set(icon_layers)
foreach(size ${icon_sizes})
    set(png ${win_out}/icon-${size}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${win_out}
        COMMAND ${VELLUMAR_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${icon_svg}
        DEPENDS ${icon_svg}
        VERBATIM)
    list(APPEND icon_layers ${png})
endforeach()
set(VELLUMAR_ICO ${win_out}/vellumar.ico)
add_custom_command(OUTPUT ${VELLUMAR_ICO}
    COMMAND ${VELLUMAR_MAGICK} ${icon_layers} ${VELLUMAR_ICO}
    DEPENDS ${icon_layers}
    COMMENT "Packing the Windows icon"
    VERBATIM)
add_custom_target(vellumar_windows_icon DEPENDS ${VELLUMAR_ICO})

# One resource script and manifest per program, from the templates.
set(RC_VERSION_COMMAS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0)
set(RC_VERSION ${PROJECT_VERSION})
set(RC_ICON ${VELLUMAR_ICO})
function(vellumar_windows_resources target description file_type dpi_awareness)
    set(RC_NAME ${target})
    set(RC_DESCRIPTION "${description}")
    set(RC_FILE_TYPE ${file_type})
    set(RC_DPI_AWARENESS "${dpi_awareness}")
    set(RC_MANIFEST ${win_out}/${target}.manifest)
    configure_file(${win_dir}/program.manifest.in ${RC_MANIFEST} @ONLY)
    configure_file(${win_dir}/program.rc.in ${win_out}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${win_out}/${target}.rc)
    # windres reports no included files: the icon and manifest are named here.
    set_source_files_properties(${win_out}/${target}.rc PROPERTIES OBJECT_DEPENDS "${VELLUMAR_ICO};${RC_MANIFEST}")
    add_dependencies(${target} vellumar_windows_icon)
endfunction()

# The editor declares itself aware of each monitor's scale, so Windows draws
# it sharp at 150 % and 200 % instead of stretching a 96 DPI picture.
vellumar_windows_resources(vellumar "Vellumar map editor" VFT_APP
    "<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">
    <windowsSettings>
      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>
      <dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>
    </windowsSettings>
  </application>")
vellumar_windows_resources(vellumar-cli "Vellumar command-line tool" VFT_APP "")
