# The settings panel, the record colour panel's own parts and the shortcuts.
find_package(Qt6 REQUIRED COMPONENTS Test)
velmora_add_tests(velmora_settings_tests
  ${CMAKE_CURRENT_LIST_DIR}/settings_colors_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_options_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_sounds_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_shortcuts_test.cpp)
target_link_libraries(velmora_settings_tests PRIVATE velmora_ui Qt6::Test)
add_dependencies(velmora_settings_tests velmora_sounds)
