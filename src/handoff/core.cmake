# The hand-off's part of vellumar_core: table export and import, the save
# sequence, the repack batch and unit Launch, whose platform half CMake
# chooses here.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/tableexport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tableimport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mapsave.cpp
    ${CMAKE_CURRENT_LIST_DIR}/repackbatch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launchcommand.cpp
)
if(WIN32)
    target_sources(vellumar_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/launch_win.cpp)
else()
    target_sources(vellumar_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/launch_unix.cpp
                                         ${CMAKE_CURRENT_LIST_DIR}/repackrun.cpp)
endif()
