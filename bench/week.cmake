# The week view built from the store, formats applied.
target_sources(velmora_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_week.cpp)
target_link_libraries(velmora_bench PRIVATE velmora_ui)
