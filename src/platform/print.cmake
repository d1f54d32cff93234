# The page set-up and print preview dialogs behind one interface.
target_sources(velmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/printdialogs.cpp)
