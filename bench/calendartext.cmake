# Text export and import of 100,000 date records.
target_sources(velmora_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bench_calendartext.cpp)
