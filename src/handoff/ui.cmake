# The hand-off windows: part of vellumar_ui.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/savemapdialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tableexchange.cpp
    ${CMAKE_CURRENT_LIST_DIR}/savecommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lookupfeedback.cpp
)
