# SPDX-License-Identifier: GPL-3.0-or-later
add_library(orbela_keyboard STATIC
  ${CMAKE_CURRENT_LIST_DIR}/braille_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/braille_table_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chord_keyboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field_echo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen_review.cpp
  ${CMAKE_CURRENT_LIST_DIR}/word_reading.cpp
)
target_link_libraries(orbela_keyboard PUBLIC orbela_runtime orbela_speech)
