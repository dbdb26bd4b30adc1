# The save's hand-off to the game under Wine: unit Launch's Windows half as a
# Windows test program, and a save whose batch Wine runs with stand-ins of the
# game's pack.exe and kz.exe (built here with mingw-w64).
set(wine_dir ${CMAKE_CURRENT_LIST_DIR})
vellumar_wine_test(tst_launch_win
    SOURCES ${wine_dir}/tst_launch_win.cpp
            ${PROJECT_SOURCE_DIR}/src/handoff/launch_win.cpp
            ${PROJECT_SOURCE_DIR}/src/handoff/launchcommand.cpp)

if(NOT VELLUMAR_MINGW_CXX OR NOT VELLUMAR_WINE)
    add_test(NAME repack_under_wine COMMAND sh -c "echo 'needs wine and g++-mingw-w64-x86-64: run make test' >&2; exit 1")
    return()
endif()
set(standin_dir ${CMAKE_CURRENT_BINARY_DIR}/standins)
foreach(standin pack kz)
    set(flags)
    if(standin STREQUAL "kz")
        set(flags -DSTANDIN_GAME)
    endif()
    add_custom_command(OUTPUT ${standin_dir}/${standin}.exe
        COMMAND ${CMAKE_COMMAND} -E make_directory ${standin_dir}
        COMMAND ${VELLUMAR_MINGW_CXX} -std=c++20 -O1 -Wall -Wextra -static ${flags}
                -o ${standin_dir}/${standin}.exe ${wine_dir}/standin.cpp
        DEPENDS ${wine_dir}/standin.cpp
        COMMENT "Building the stand-in ${standin}.exe"
        VERBATIM)
endforeach()
add_custom_target(repack_standins ALL DEPENDS ${standin_dir}/pack.exe ${standin_dir}/kz.exe)

add_executable(tst_repackwine ${wine_dir}/tst_repackwine.cpp common/testmain.cpp common/testregistry.cpp
               common/builders.cpp common/fakedialogs.cpp)
target_include_directories(tst_repackwine PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/common)
target_link_libraries(tst_repackwine PRIVATE vellumar_ui Qt6::Test)
target_compile_definitions(tst_repackwine PRIVATE
    VELLUMAR_SAMPLES="${PROJECT_SOURCE_DIR}/samples"
    STANDIN_PACK="${standin_dir}/pack.exe"
    STANDIN_GAME="${standin_dir}/kz.exe")
add_dependencies(tst_repackwine repack_standins)
add_test(NAME repack_under_wine COMMAND tst_repackwine)
set_tests_properties(repack_under_wine PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_FATAL_WARNINGS=0"
    TIMEOUT 300)
