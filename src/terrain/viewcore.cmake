# The map view's arithmetic (no widgets): part of vellumar_core.
target_sources(vellumar_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/viewtransform.cpp
)
