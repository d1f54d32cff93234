# The File menu's calendar commands, the window helpers and the splash window.
target_sources(velmora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/filecommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filecommands_recent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/windowhelpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash.cpp)
target_sources(velmora_core PRIVATE
  ${CMAKE_SOURCE_DIR}/src/core/calendarfiles.cpp
  ${CMAKE_SOURCE_DIR}/src/core/filegate.cpp
  ${CMAKE_SOURCE_DIR}/src/core/splashlogic.cpp
  ${CMAKE_SOURCE_DIR}/src/core/writeguard.cpp)
