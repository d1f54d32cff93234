# A read-only table model over a record source, for the windows' data grids.
target_sources(velmora_ui PRIVATE recordgrid.cpp)
