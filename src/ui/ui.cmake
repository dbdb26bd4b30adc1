# Window plumbing the windows share (the dialog interface with its error
# guard, their font, group-box frames, the small scroll bars' thumbs, keeping
# placed windows on the screen): part of vellumar_ui, below every window that
# uses it.
target_sources(vellumar_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/dialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windowstyle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/thumbstyle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/screenfit.cpp
)
