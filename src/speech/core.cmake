# SPDX-License-Identifier: GPL-3.0-or-later
# The speech service's logic (no Qt, no engine library).
add_library(orbela_speech STATIC
  ${CMAKE_CURRENT_LIST_DIR}/capital_letters.cpp
  ${CMAKE_CURRENT_LIST_DIR}/character_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_event_relay.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen_reader_listeners.cpp
  ${CMAKE_CURRENT_LIST_DIR}/speech_echo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/speech_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/speech_policy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/speech_service.cpp
  ${CMAKE_CURRENT_LIST_DIR}/voice_control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/voice_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/voice_selection.cpp
)
target_link_libraries(orbela_speech PUBLIC orbela_runtime orbela_i18n orbela_settings)

find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(ESPEAK_NG QUIET IMPORTED_TARGET espeak-ng)
  pkg_check_modules(OPENAL QUIET IMPORTED_TARGET openal)
  pkg_check_modules(SPEECHD QUIET IMPORTED_TARGET speech-dispatcher)
endif()
find_package(Threads REQUIRED)

# The embedded engine: espeak-ng synthesising into an OpenAL stream.
if(ESPEAK_NG_FOUND AND OPENAL_FOUND)
  add_library(orbela_speech_espeak STATIC
    ${CMAKE_CURRENT_LIST_DIR}/espeak/espeak_engine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/espeak/openal_stream.cpp
    ${CMAKE_CURRENT_LIST_DIR}/espeak/voice_order.cpp
  )
  target_link_libraries(orbela_speech_espeak PUBLIC orbela_speech
    PRIVATE orbela_sound_openal PkgConfig::ESPEAK_NG PkgConfig::OPENAL Threads::Threads)
else()
  message(STATUS "espeak-ng or OpenAL not found: the embedded speech engine is not built")
endif()

# The system speech service: speech-dispatcher.
if(SPEECHD_FOUND AND EXISTS ${CMAKE_CURRENT_LIST_DIR}/speechd/speechd_engine.cpp)
  add_library(orbela_speech_speechd STATIC
    ${CMAKE_CURRENT_LIST_DIR}/speechd/speechd_engine.cpp
  )
  target_link_libraries(orbela_speech_speechd PUBLIC orbela_speech PRIVATE PkgConfig::SPEECHD Threads::Threads)
endif()
