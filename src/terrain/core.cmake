# Terrain sources of vellumar_core: the PCX decoder (unit Pcxctrl), the terrain
# file and the map view's arithmetic (no widgets).
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/pcxctrl.h
    ${CMAKE_CURRENT_LIST_DIR}/pcxctrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/terrainfile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/viewtransform.cpp
)

# The PCX image format as a static Qt plugin. Qt adds an initialiser object
# (Q_IMPORT_PLUGIN(TPcxPlugin)) to every program that links the target;
# vellumar_ui links it, so linking vellumar_ui is enough for QImageReader and QPixmap to read .pcx.
qt_add_plugin(vellumar_pcxplugin STATIC
    CLASS_NAME TPcxPlugin
    PLUGIN_TYPE imageformats
)
target_sources(vellumar_pcxplugin PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/pcxplugin.h
    ${CMAKE_CURRENT_LIST_DIR}/pcxplugin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pcx.json
)
target_link_libraries(vellumar_pcxplugin PRIVATE vellumar_core Qt6::Gui)
