# The map document: the model, the header and record codecs, the BMS reader
# and writer, the map-name list, the categories. Part of vellumar_core.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/numbers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/category.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mapheader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objectrecord.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objecttable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mapdocument.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bmsfile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mapnamelist.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mapnamebox.cpp
)
