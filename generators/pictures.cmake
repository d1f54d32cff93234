# The month pictures the program ships, drawn at build time by our own tool.
add_executable(velmora_mkpictures mkpictures.cpp)
target_link_libraries(velmora_mkpictures PRIVATE Qt6::Gui)
set(VELMORA_PICTURE_DIR ${VELMORA_BIN_DIR}/Graphics/Months)
set(VELMORA_PICTURES)
foreach(m Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(APPEND VELMORA_PICTURES ${VELMORA_PICTURE_DIR}/${m}.jpg)
endforeach()
add_custom_command(OUTPUT ${VELMORA_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:velmora_mkpictures> ${VELMORA_PICTURE_DIR}
  DEPENDS velmora_mkpictures
  COMMENT "Drawing the month pictures")
add_custom_target(velmora_pictures ALL DEPENDS ${VELMORA_PICTURES})
add_dependencies(velmora velmora_pictures)
