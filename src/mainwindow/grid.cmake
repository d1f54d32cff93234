# The month grid of the main window: the build, the layout, the controls,
# the cell labels and the navigation.
target_sources(velmora_ui PRIVATE
  frmvelmora_controls.cpp frmvelmora_build.cpp frmvelmora_layout.cpp celllabel.cpp frmvelmora_nav.cpp)
