# The settings' non-visual parts in vellumar_core: the file association with
# the platform's own implementation behind shellextplatform.h.
if(WIN32)
    set(shellext_platform ${CMAKE_CURRENT_LIST_DIR}/shellext_win.cpp)
else()
    set(shellext_platform ${CMAKE_CURRENT_LIST_DIR}/shellext_unix.cpp)
endif()
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/programdir.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shellext.cpp
    ${shellext_platform}
)
if(WIN32)
    target_link_libraries(vellumar_core PUBLIC advapi32)
endif()
