# The program's wave files: thirty alarm sounds and the start-up chime, made by
# our own generator into the program folder's Sounds.
add_executable(velmora_mksounds ${CMAKE_CURRENT_LIST_DIR}/mksounds.cpp)
set(VELMORA_SOUNDS_DIR ${VELMORA_BIN_DIR}/Sounds)
set(VELMORA_SOUND_FILES ${VELMORA_SOUNDS_DIR}/opensound.wav)
foreach(n RANGE 1 30)
  if(n LESS 10)
    set(nn "0${n}")
  else()
    set(nn "${n}")
  endif()
  list(APPEND VELMORA_SOUND_FILES ${VELMORA_SOUNDS_DIR}/Alarm${nn}.wav)
endforeach()
add_custom_command(OUTPUT ${VELMORA_SOUND_FILES}
  COMMAND velmora_mksounds ${VELMORA_SOUNDS_DIR}
  DEPENDS velmora_mksounds
  COMMENT "Making the alarm and start-up sounds")
add_custom_target(velmora_sounds ALL DEPENDS ${VELMORA_SOUND_FILES})
add_dependencies(velmora velmora_sounds)
