# The month grid of the main window: the build, the layout, the controls,
# and the plain logic they stand on (in the core library).
target_sources(velmora_ui PRIVATE
  frmvelmora_controls.cpp frmvelmora_build.cpp frmvelmora_layout.cpp celllabel.cpp frmvelmora_nav.cpp)
target_sources(velmora_core PRIVATE
  ${CMAKE_SOURCE_DIR}/src/core/monthlayout.cpp
  ${CMAKE_SOURCE_DIR}/src/core/monthcells.cpp
  ${CMAKE_SOURCE_DIR}/src/core/sorting.cpp
  ${CMAKE_SOURCE_DIR}/src/core/monthpictures.cpp)
