# Opening documents and web addresses with the desktop's default handler.
target_sources(velmora_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/shell.cpp)
target_sources(velmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/shellqt.cpp)
