# The month build in the main window, from the store to the cell labels.
target_sources(velmora_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_month.cpp)
target_link_libraries(velmora_bench PRIVATE velmora_ui)
