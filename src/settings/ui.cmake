# The settings' windows: part of vellumar_ui.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/infowindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/aboutwindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/setupdialog.cpp
)
