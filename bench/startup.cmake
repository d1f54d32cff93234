# Whole-process benchmarks: the helper that makes their calendars (bench/startup.sh runs them).
add_executable(velmora_benchtool ${CMAKE_CURRENT_LIST_DIR}/benchtool.cpp ${CMAKE_CURRENT_LIST_DIR}/calendars.cpp)
target_link_libraries(velmora_benchtool PRIVATE velmora_core)
add_dependencies(velmora_benchtool velmora_templates velmora_pictures velmora_sounds velmora_manual)
target_sources(velmora_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/calendars.cpp)
add_dependencies(velmora_bench velmora_benchtool velmora)
# The bare window an empty start is measured against.
add_executable(velmora_barewindow ${CMAKE_CURRENT_LIST_DIR}/barewindow.cpp ${PROJECT_SOURCE_DIR}/src/app/startupprobe.cpp)
target_include_directories(velmora_barewindow PRIVATE ${PROJECT_SOURCE_DIR}/src/app)
target_link_libraries(velmora_barewindow PRIVATE Qt6::Widgets)
add_dependencies(velmora_bench velmora_barewindow)
