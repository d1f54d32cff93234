# The File menu's calendar commands, the window helpers and the splash window.
find_package(Qt6 REQUIRED COMPONENTS Test)
velmora_add_tests(velmora_files_tests files_recent_test.cpp files_commands_test.cpp files_helpers_test.cpp
  files_gate_test.cpp
  files_splash_test.cpp files_pictures_test.cpp)
target_link_libraries(velmora_files_tests PRIVATE velmora_ui Qt6::Test)
if(TARGET velmora_splash)
  add_dependencies(velmora_files_tests velmora_splash)
endif()
