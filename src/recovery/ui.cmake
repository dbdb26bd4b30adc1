# The offer of a recovery copy at program start: part of vellumar_ui.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/recoveryoffer.cpp
)
