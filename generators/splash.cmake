# The splash window's pictures and text colours, drawn at build time into the
# program folder's Graphics/Splash.
add_executable(velmora_mksplash ${CMAKE_CURRENT_LIST_DIR}/mksplash.cpp)
target_link_libraries(velmora_mksplash PRIVATE Qt6::Gui)
set(VELMORA_SPLASH_DIR ${VELMORA_BIN_DIR}/Graphics/Splash)
set(VELMORA_SPLASH_FILES)
foreach(name Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec Install)
  list(APPEND VELMORA_SPLASH_FILES ${VELMORA_SPLASH_DIR}/${name}.jpg)
endforeach()
list(APPEND VELMORA_SPLASH_FILES ${VELMORA_SPLASH_DIR}/SplashTextColor.txt)
add_custom_command(OUTPUT ${VELMORA_SPLASH_FILES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:velmora_mksplash> ${VELMORA_SPLASH_DIR}
  DEPENDS velmora_mksplash
  COMMENT "Drawing the splash pictures")
add_custom_target(velmora_splash ALL DEPENDS ${VELMORA_SPLASH_FILES})
