# The date grid with 100,000 records: search, header sort, copy.
target_sources(velmora_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_dategrid.cpp)
target_link_libraries(velmora_bench PRIVATE velmora_ui)
