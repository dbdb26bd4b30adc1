# Editing in the table and on the map: part of vellumar_ui.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/objectgrid.cpp
    ${CMAKE_CURRENT_LIST_DIR}/celleditordelegate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tableediting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mouseediting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mapselection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objectlistediting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/weaponbox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gamemodeboxes.cpp
)
