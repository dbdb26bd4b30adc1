# The tests of the Windows build (make test-windows), run under Wine:
#   win_<subsystem>   the QtTest suites of tests/<subsystem>/, built for Windows,
#                     on the offscreen platform
#   win_captions_*    the captions test with a narrow system face, and at
#                     the larger scales
#   win_repack        the Windows program's own run of the repack batch
#   win_settings_paths_*  game folders named in other code pages' letters
#   win_program_properties, win_cli_bytes, win_real_window, win_installer,
#   win_setup_association: scripts of tests/windows/ that check the zip's
#                     programs as Windows reads them, the command-line tool
#                     against the Linux one, the unpacked zip's editor in a
#                     real window, the installer and the association
# Each runs in a Wine prefix of its own (build-windows/wine-run.sh).
#
# Left out, because what they test exists on Linux only:
#   fileio/tst_safewrite.cpp    a full disk made with a small tmpfs mount, the
#                               file size limit of setrlimit and writers
#                               killed by SIGKILL as the user "nobody"
#   app/x11/                    window stacking under X, the editor killed with
#                               SIGKILL and a logout through xsm (X11 session
#                               management)
#   */wine/                     the Windows units built alone and the Linux
#                               program's repack through Wine; the Windows
#                               program runs them itself here
#   fileio/sync/                the flushes of a save seen with strace
#   the fuzz replays            clang's sanitizers on Linux
# and the test functions listed in win_skips_<subsystem> below, and the rows
# marked Q_OS_WIN in the tests (a folder that cannot be written: Windows'
# read-only attribute on a folder stops no new files; a file that can be
# written but not read; SIGTERM, which Windows does not send).

set(win_tests ${CMAKE_CURRENT_SOURCE_DIR}/windows)
set(VELLUMAR_LINUX_BIN ${PROJECT_SOURCE_DIR}/build/bin CACHE PATH
    "The Linux build's programs, whose output the Windows programs must match")

# Where the Windows programs find what they load: the DLL folders of Qt,
# libjpeg and the mingw runtime, Qt's plugins, a font folder for the
# offscreen platform. Found from the libraries the build was configured with.
get_filename_component(win_qt_prefix ${QT6_INSTALL_PREFIX} ABSOLUTE)
get_filename_component(win_jpeg_bin ${JPEG_LIBRARIES} DIRECTORY)
get_filename_component(win_jpeg_bin ${win_jpeg_bin}/../bin ABSOLUTE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE win_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(win_gcc_runtime ${win_libstdcxx} DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                OUTPUT_VARIABLE win_winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(win_pthread_runtime ${win_winpthread} DIRECTORY)
set(WIN_DLL_DIRS "${win_qt_prefix}/bin ${win_jpeg_bin} ${win_gcc_runtime} ${win_pthread_runtime}")
set(WIN_PLUGIN_DIR ${win_qt_prefix}/${QT6_INSTALL_PLUGINS})

# The faces of a Windows without a narrow one (Liberation's Sans, Serif and
# Mono stand in for Arial, Times New Roman and Courier New), and the narrow
# face the program brings in its fonts folder.
set(liberation /usr/share/fonts/truetype/liberation)
set(WIN_FONTS_PLAIN ${CMAKE_BINARY_DIR}/test-fonts/plain)
set(WIN_FONTS_NARROW ${CMAKE_BINARY_DIR}/test-fonts/with-narrow)
file(GLOB plain_faces ${liberation}/LiberationSans-*.ttf ${liberation}/LiberationSerif-*.ttf
                      ${liberation}/LiberationMono-*.ttf)
file(GLOB narrow_faces ${liberation}/LiberationSansNarrow-*.ttf)
if(NOT plain_faces OR NOT narrow_faces)
    message(FATAL_ERROR "the Liberation fonts are missing: run make windows, which installs fonts-liberation")
endif()
file(COPY ${plain_faces} DESTINATION ${WIN_FONTS_PLAIN})
file(COPY ${plain_faces} ${narrow_faces} DESTINATION ${WIN_FONTS_NARROW})
set(VELLUMAR_BUNDLED_FONTS ${CMAKE_BINARY_DIR}/fonts)
file(COPY ${narrow_faces} DESTINATION ${VELLUMAR_BUNDLED_FONTS})

configure_file(${win_tests}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY)
set(win_run sh ${CMAKE_BINARY_DIR}/wine-run.sh)

# A path the test programs use under Wine: the same folder on drive Z:.
function(win_path out path)
    set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
win_path(win_samples ${PROJECT_SOURCE_DIR}/samples)
win_path(win_fonts ${VELLUMAR_BUNDLED_FONTS})

# Functions left out of the Windows run, with the reason.
set(win_skips_handoff
    # The Linux program runs the repack batch through Wine and says when
    # there is none; Windows runs the batch itself (win_repack).
    TestSave::autoRepackWithoutWineSaysSoAndKeepsTheFiles
    # A folder that can be written but not opened, made with permission
    # bits, so that its flush fails.
    TestSave::aFolderNotFlushedIsNoFailedSave
)
set(win_skips_settings
    # The freedesktop association of the Linux program.
    TestShellExt::freedesktopRoundTrip
    TestShellExt::anInstalledProgramMakesThePackagesEntryTheDefault
)

function(win_test_suite subsystem)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${subsystem}/*.cpp)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/fileio/tst_safewrite.cpp)
    set(target tst_${subsystem})
    add_executable(${target} ${sources} ${win_tests}/testmain.cpp ${win_tests}/ordinaryuser.cpp
        ${win_tests}/userdatafolder.cpp common/testregistry.cpp common/builders.cpp common/fakedialogs.cpp)
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/common)
    target_link_libraries(${target} PRIVATE vellumar_ui vellumar_cli_commands Qt6::Test)
    win_path(data ${CMAKE_CURRENT_SOURCE_DIR}/${subsystem}/data)
    win_path(project_data ${PROJECT_SOURCE_DIR}/data)
    target_compile_definitions(${target} PRIVATE
        VELLUMAR_TEST_DATA="${data}"
        VELLUMAR_SAMPLES="${win_samples}"
        VELLUMAR_DATA="${project_data}"
        VELLUMAR_BUNDLED_FONTS="${win_fonts}")
    set(skips)
    foreach(f ${win_skips_${subsystem}})
        list(APPEND skips -skip ${f})
    endforeach()
    add_test(NAME win_${subsystem} COMMAND ${win_run} $<TARGET_FILE:${target}> ${skips})
    set_tests_properties(win_${subsystem} PROPERTIES TIMEOUT 900)
endfunction()

foreach(subsystem fileio document terrain editing catalogue handoff settings app cli)
    win_test_suite(${subsystem})
endforeach()

# The program's start and its windows on a small desktop screen, one that
# holds the main window with the Item List beside it (the test platform's
# own 800 by 800 does not), as on Linux. The file's path without its drive:
# a colon would end the platform's argument.
set(win_app_screen ${CMAKE_CURRENT_BINARY_DIR}/screen-1280x1024.json)
file(WRITE ${win_app_screen} "{\"screens\": [{\"name\": \"screen\", \"x\": 0, \"y\": 0, \"width\": 1280, \"height\": 1024}]}\n")
set_tests_properties(win_app PROPERTIES ENVIRONMENT "WINEQT_QPA_PLATFORM=offscreen:configfile=${win_app_screen}")

# The captions fit on a Windows that has a narrow face of its own (win_app
# runs them with the program's own copy), and at the larger scales.
add_test(NAME win_captions_system_face COMMAND ${win_run} $<TARGET_FILE:tst_app> -class TestCaptions)
set_tests_properties(win_captions_system_face PROPERTIES ENVIRONMENT "WIN_FONT_DIR=${WIN_FONTS_NARROW}")
foreach(scale 1.5 2)
    add_test(NAME win_captions_at_scale_${scale} COMMAND ${win_run} $<TARGET_FILE:tst_app> -class TestCaptions)
    set_tests_properties(win_captions_at_scale_${scale} PROPERTIES ENVIRONMENT "WINEQT_SCALE_FACTOR=${scale}")
endforeach()

# Game folders named in the letters of other ANSI code pages, which
# kzmap.ini holds on Windows: Cyrillic on a Russian system (1251), Chinese on
# a Chinese one (936). The row must pass there, not be skipped.
foreach(case "ru_RU|Cyrillic" "zh_CN|CJK")
    string(REPLACE "|" ";" case ${case})
    list(GET case 0 locale)
    list(GET case 1 row)
    add_test(NAME win_settings_paths_${locale} COMMAND ${win_run} $<TARGET_FILE:tst_app> -class TestSettingsPaths
             gameFoldersInAnyLanguage:${row})
    set_tests_properties(win_settings_paths_${locale} PROPERTIES ENVIRONMENT "WIN_LOCALE=${locale}"
        PASS_REGULAR_EXPRESSION "PASS   : TestSettingsPaths::gameFoldersInAnyLanguage\\(${row}\\)"
        FAIL_REGULAR_EXPRESSION "FAIL!|SKIP")
endforeach()

# The Windows program's repack: the batch run by cmd.exe through
# CreateProcessA, with stand-ins of the game's pack.exe and kz.exe.
foreach(standin pack kz)
    add_executable(standin_${standin} ${CMAKE_CURRENT_SOURCE_DIR}/handoff/wine/standin.cpp)
    set_target_properties(standin_${standin} PROPERTIES OUTPUT_NAME ${standin}
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/standins)
    target_link_options(standin_${standin} PRIVATE -static)
endforeach()
target_compile_definitions(standin_kz PRIVATE STANDIN_GAME)
add_executable(tst_repackwindows ${win_tests}/tst_repackwindows.cpp ${win_tests}/testmain.cpp
    common/testregistry.cpp common/builders.cpp common/fakedialogs.cpp)
target_include_directories(tst_repackwindows PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/common)
target_link_libraries(tst_repackwindows PRIVATE vellumar_ui Qt6::Test)
win_path(standin_pack $<TARGET_FILE:standin_pack>)
win_path(standin_kz $<TARGET_FILE:standin_kz>)
target_compile_definitions(tst_repackwindows PRIVATE
    VELLUMAR_SAMPLES="${win_samples}"
    VELLUMAR_BUNDLED_FONTS="${win_fonts}"
    STANDIN_PACK="${standin_pack}"
    STANDIN_GAME="${standin_kz}")
add_test(NAME win_repack COMMAND ${win_run} $<TARGET_FILE:tst_repackwindows>)
set_tests_properties(win_repack PROPERTIES TIMEOUT 300)

# What make windows made, checked as a user gets it.
set(win_zip ${CMAKE_BINARY_DIR}/Vellumar-${PROJECT_VERSION}-windows-x64.zip)
set(win_setup ${CMAKE_BINARY_DIR}/Vellumar-${PROJECT_VERSION}-setup-x64.exe)
set(under_x sh ${CMAKE_CURRENT_SOURCE_DIR}/app/x11/run-under-x.sh none)
add_test(NAME win_program_properties COMMAND bash ${win_tests}/program-properties.sh ${win_zip} ${PROJECT_VERSION})
add_test(NAME win_cli_bytes COMMAND bash ${win_tests}/cli-bytes.sh
         ${win_zip} ${VELLUMAR_LINUX_BIN}/vellumar-cli ${PROJECT_SOURCE_DIR}/samples)
add_test(NAME win_real_window COMMAND ${under_x} bash ${win_tests}/real-window.sh
         ${win_zip} ${VELLUMAR_LINUX_BIN}/vellumar ${PROJECT_SOURCE_DIR}/samples)
add_test(NAME win_installer COMMAND ${under_x} bash ${win_tests}/installer.sh ${win_setup} ${PROJECT_SOURCE_DIR}/samples)
add_test(NAME win_setup_association COMMAND ${under_x} bash ${win_tests}/setup-association.sh ${win_zip})
set_tests_properties(win_cli_bytes win_real_window win_installer win_setup_association PROPERTIES TIMEOUT 600)
