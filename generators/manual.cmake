# The user manual: docs/manual.md made into VelmoraHelp.pdf beside the program.
add_executable(velmora_mkmanual mkmanual.cpp)
target_link_libraries(velmora_mkmanual PRIVATE Qt6::Gui)
set(VELMORA_MANUAL ${VELMORA_BIN_DIR}/VelmoraHelp.pdf)
add_custom_command(OUTPUT ${VELMORA_MANUAL}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:velmora_mkmanual> ${CMAKE_SOURCE_DIR}/docs/manual.md ${VELMORA_MANUAL}
  DEPENDS velmora_mkmanual ${CMAKE_SOURCE_DIR}/docs/manual.md
  COMMENT "Making the user manual")
add_custom_target(velmora_manual ALL DEPENDS ${VELMORA_MANUAL})
