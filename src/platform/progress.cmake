# The progress of long tasks behind one interface: the recording fake (no
# window) and the Qt dialog.
target_sources(velmora_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/progress.cpp)
target_sources(velmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/qtprogress.cpp)
