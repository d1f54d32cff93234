if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/bench_repeat.cpp)
  target_sources(velmora_bench PRIVATE bench_repeat.cpp)
endif()
