# Program start: part of vellumar_ui, so tests start the program as main() does.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/programstart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/termination.cpp
)
