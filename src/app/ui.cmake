# Program start: part of vellumar_ui, so tests start the program as main() does.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/programstart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/leftbehindwrites.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recovery.cpp
    ${CMAKE_CURRENT_LIST_DIR}/closing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/undo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/viewhistory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windowkeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/termination.cpp
)
# "Extended": the Save Map dialog and the About window placed on the screen.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/extendedwindows.cpp
)
