# The File menu's calendar commands, the window helpers and the splash window.
target_sources(velmora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/filecommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filecommands_recent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/windowhelpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash.cpp)
