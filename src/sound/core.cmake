# SPDX-License-Identifier: GPL-3.0-or-later
# The sound list, its file format and the audio device interface: no Qt, no
# audio library. The OpenAL Soft device is a library of its own, so that
# logic and tests of the list need no audio output.
add_library(orbela_sound STATIC
  ${CMAKE_CURRENT_LIST_DIR}/byte_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_rest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_list_tone_sounds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_mapping.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave.cpp
)
find_package(Threads REQUIRED)
target_link_libraries(orbela_sound PUBLIC orbela_runtime Threads::Threads)

find_package(PkgConfig REQUIRED)
pkg_check_modules(ORBELA_PULSE REQUIRED IMPORTED_TARGET libpulse)
find_package(OpenAL QUIET)
if(OpenAL_FOUND OR OPENAL_FOUND)
  add_library(orbela_sound_openal STATIC ${CMAKE_CURRENT_LIST_DIR}/openal_device.cpp
    ${CMAKE_CURRENT_LIST_DIR}/openal_output.cpp ${CMAKE_CURRENT_LIST_DIR}/pulse_output.cpp)
  if(TARGET OpenAL::OpenAL)
    target_link_libraries(orbela_sound_openal PUBLIC orbela_sound OpenAL::OpenAL)
  else()
    target_link_libraries(orbela_sound_openal PUBLIC orbela_sound ${OPENAL_LIBRARY})
  endif()
else()
  pkg_check_modules(ORBELA_OPENAL REQUIRED IMPORTED_TARGET openal)
  add_library(orbela_sound_openal STATIC ${CMAKE_CURRENT_LIST_DIR}/openal_device.cpp
    ${CMAKE_CURRENT_LIST_DIR}/openal_output.cpp ${CMAKE_CURRENT_LIST_DIR}/pulse_output.cpp)
  target_link_libraries(orbela_sound_openal PUBLIC orbela_sound PkgConfig::ORBELA_OPENAL)
endif()
target_link_libraries(orbela_sound_openal PRIVATE PkgConfig::ORBELA_PULSE)
