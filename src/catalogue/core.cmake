# The catalogue's part of vellumar_core: the item list file, item pictures
# decoded with libjpeg and the built-in placeholder picture.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/itemcatalogue.cpp
    ${CMAKE_CURRENT_LIST_DIR}/jpegpicture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/catalogue.qrc
)
target_link_libraries(vellumar_core PUBLIC JPEG::JPEG)
