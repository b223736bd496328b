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
    ${CMAKE_CURRENT_LIST_DIR}/openal_output.cpp ${CMAKE_CURRENT_LIST_DIR}/pulse_output_module.cpp)
  if(TARGET OpenAL::OpenAL)
    target_link_libraries(orbela_sound_openal PUBLIC orbela_sound OpenAL::OpenAL)
  else()
    target_link_libraries(orbela_sound_openal PUBLIC orbela_sound ${OPENAL_LIBRARY})
  endif()
else()
  pkg_check_modules(ORBELA_OPENAL REQUIRED IMPORTED_TARGET openal)
  add_library(orbela_sound_openal STATIC ${CMAKE_CURRENT_LIST_DIR}/openal_device.cpp
    ${CMAKE_CURRENT_LIST_DIR}/openal_output.cpp ${CMAKE_CURRENT_LIST_DIR}/pulse_output_module.cpp)
  target_link_libraries(orbela_sound_openal PUBLIC orbela_sound PkgConfig::ORBELA_OPENAL)
endif()

# The output to the sound server is a module of its own, loaded when the
# output is first opened: libpulse and its libraries stay out of the
# program's start.
add_library(orbela_pulse_module MODULE ${CMAKE_CURRENT_LIST_DIR}/pulse_output.cpp)
set_target_properties(orbela_pulse_module PROPERTIES OUTPUT_NAME orbela-pulse PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
target_link_libraries(orbela_pulse_module PRIVATE PkgConfig::ORBELA_PULSE Threads::Threads)
install(TARGETS orbela_pulse_module LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/orbela)
target_compile_definitions(orbela_sound_openal PRIVATE ORBELA_MODULE_DIR="${CMAKE_INSTALL_FULL_LIBDIR}/orbela")
target_link_libraries(orbela_sound_openal PRIVATE ${CMAKE_DL_LIBS})
add_dependencies(orbela_sound_openal orbela_pulse_module)
