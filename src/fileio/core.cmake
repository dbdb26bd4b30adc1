# The bottom layer of vellumar_core: the program's error type, whole-file
# reading with limits, safe writing (whole-file replacement, or in place
# behind a safety copy), the disk flushes and the opening of a regular file
# to read it, whose platform halves CMake chooses here, the files' stamps and
# the user's recovery folder the copies live in.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/errors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fileio.cpp
    ${CMAKE_CURRENT_LIST_DIR}/textlinereader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/safetycopy.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filestamps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recoveryfolder.cpp
)
if(WIN32)
    target_sources(vellumar_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/disksync_win.cpp
                                        ${CMAKE_CURRENT_LIST_DIR}/regularfile_win.cpp)
else()
    target_sources(vellumar_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/disksync_unix.cpp
                                        ${CMAKE_CURRENT_LIST_DIR}/regularfile_unix.cpp)
endif()
