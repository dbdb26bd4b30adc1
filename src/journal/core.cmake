# The undo journal over the document: its steps and commands. Part of vellumar_core.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/journal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/journalcommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/journalstep.cpp
)
