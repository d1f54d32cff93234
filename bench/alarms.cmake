# Rebuilding today's alarm queue and a tick with nothing due, in the main window.
target_sources(velmora_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_alarms.cpp)
target_link_libraries(velmora_bench PRIVATE velmora_ui)
