# Copies of unsaved work: the state a copy keeps, the copy file and the
# keeper that writes it while the map has unsaved changes, and the restore.
# Part of vellumar_core.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/recoverystate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recoverycopy.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recoverykeeper.cpp
    ${CMAKE_CURRENT_LIST_DIR}/restore.cpp
)
