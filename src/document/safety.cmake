# Saves that keep the files they replace, and the work not saved yet: the
# recovery folder, the recovery copies of unsaved changes, the safety copy
# of a file written in place, and the disk flushes, whose platform half CMake
# chooses here.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/recoveryfolder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/safetycopy.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filestamps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recoverystate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recoverycopy.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recoverykeeper.cpp
)
if(WIN32)
    target_sources(vellumar_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/disksync_win.cpp)
else()
    target_sources(vellumar_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/disksync_unix.cpp)
endif()
