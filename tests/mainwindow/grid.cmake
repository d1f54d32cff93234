# The month grid: its plain logic, and the whole build in the real window.
velmora_add_tests(velmora_grid_tests monthlayout_test.cpp sorting_test.cpp monthcells_test.cpp)
add_dependencies(velmora_mainwindow_tests velmora_pictures)
