# The data grids: a table model over a record source, editable with a
# new-row line, and what every grid shares (sorting, search, font buttons).
target_sources(velmora_ui PRIVATE recordgrid.cpp datagrid.cpp emptyonclick.cpp keyedbutton.cpp)
# Its window-free half (sort state, search condition) serves the rules in src/core too.
target_sources(velmora_core PRIVATE gridquery.cpp)
