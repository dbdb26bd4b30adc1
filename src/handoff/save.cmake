# The save's part of vellumar_core: unit Launch, whose platform half CMake
# chooses here.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/launchcommand.cpp
)
if(WIN32)
    target_sources(vellumar_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/launch_win.cpp)
else()
    target_sources(vellumar_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/launch_unix.cpp)
endif()
