# The map view and its controls: part of vellumar_ui.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/mimage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/marker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/circleshape.cpp
    ${CMAKE_CURRENT_LIST_DIR}/workmask.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rubberband.cpp
    ${CMAKE_CURRENT_LIST_DIR}/groupmarks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mapview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/markerlayer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mapviewpanel.cpp
)
