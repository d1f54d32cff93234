# Moving through months, the keys and the main toolbar in the real window.
find_package(Qt6 REQUIRED COMPONENTS Test)
velmora_add_tests(velmora_nav_tests nav_test.cpp)
target_link_libraries(velmora_nav_tests PRIVATE velmora_ui Qt6::Test)
