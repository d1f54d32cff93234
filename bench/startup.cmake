# Start-up of the main window with a calendar of 5,000 records.
target_sources(velmora_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_startup.cpp)
target_link_libraries(velmora_bench PRIVATE velmora_ui)
add_dependencies(velmora_bench velmora_pictures velmora_sounds velmora_manual)
