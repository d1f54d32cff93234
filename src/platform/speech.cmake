target_sources(velmora_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/speech.cpp)
target_sources(velmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/qtspeech.cpp)
target_link_libraries(velmora_ui PUBLIC Qt6::TextToSpeech)
