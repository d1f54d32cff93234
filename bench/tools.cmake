target_sources(velmora_bench PRIVATE bench_tools.cpp)
