# Moving through months, the keys and the main toolbar in the real window.
find_package(Qt6 REQUIRED COMPONENTS Test)
velmora_add_tests(velmora_nav_tests nav_test.cpp)
target_link_libraries(velmora_nav_tests PRIVATE velmora_ui Qt6::Test)
# Labels and headings measured on a screen of a newcomer's size.
set(VELMORA_TEST_PLATFORM "offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/screen1280x1024.json")
velmora_add_tests(velmora_labels_tests labels_test.cpp)
unset(VELMORA_TEST_PLATFORM)
target_link_libraries(velmora_labels_tests PRIVATE velmora_ui Qt6::Test)
