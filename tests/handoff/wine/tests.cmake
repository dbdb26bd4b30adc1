# The save's hand-off to the game under Wine: unit Launch's Windows half as a
# Windows test program.
set(wine_dir ${CMAKE_CURRENT_LIST_DIR})
vellumar_wine_test(tst_launch_win
    SOURCES ${wine_dir}/tst_launch_win.cpp
            ${PROJECT_SOURCE_DIR}/src/handoff/launch_win.cpp
            ${PROJECT_SOURCE_DIR}/src/handoff/launchcommand.cpp)
