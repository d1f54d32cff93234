# Wave playback: the interface and its fake in the core, Qt Multimedia in the windows.
find_package(Qt6 REQUIRED COMPONENTS Multimedia)
target_sources(velmora_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/sound.cpp)
target_sources(velmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/qtsound.cpp)
target_link_libraries(velmora_ui PUBLIC Qt6::Multimedia)
