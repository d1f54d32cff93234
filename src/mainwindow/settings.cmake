# The settings panel and the shortcuts.
target_sources(velmora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/settingspanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingspanel_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingspanel_colors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingspanel_sounds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingspanel_hooks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingspanel.h
  ${CMAKE_CURRENT_LIST_DIR}/shortcuts.cpp)
