# The object table's rules that need no window: part of vellumar_core.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cellrules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/findingrid.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rangefill.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gamemodes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objectlist.cpp
    ${CMAKE_CURRENT_LIST_DIR}/groupmove.cpp
)
