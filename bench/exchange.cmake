# Imports of a calendar file and printing a grid to PDF.
target_sources(velmora_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_exchange.cpp)
target_link_libraries(velmora_bench PRIVATE velmora_ui)
