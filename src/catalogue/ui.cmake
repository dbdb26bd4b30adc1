# The catalogue's windows: part of vellumar_ui.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/itemlistwindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objectviewwindow.cpp
)
