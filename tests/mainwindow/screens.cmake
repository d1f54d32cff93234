# The main window on a laptop's screen: floating panels, the status line, the
# splitter and the splash window kept where they can be reached.
set(VELMORA_TEST_PLATFORM "offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/screen1366x768.json")
velmora_add_tests(velmora_screens_tests ${CMAKE_CURRENT_LIST_DIR}/screens_test.cpp)
unset(VELMORA_TEST_PLATFORM)
target_link_libraries(velmora_screens_tests PRIVATE velmora_ui Qt6::Test)
add_dependencies(velmora_screens_tests velmora_pictures)
