# SPDX-License-Identifier: GPL-3.0-or-later
# Options panel, reading options and pacing pages, colour swatch (skimmet_gui).
target_sources(skimmet_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ColorSwatch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ColorSwatch.h
    ${CMAKE_CURRENT_LIST_DIR}/OptionsPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OptionsPanel.h
    ${CMAKE_CURRENT_LIST_DIR}/ReadingOptionsPage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReadingOptionsPage.h
    ${CMAKE_CURRENT_LIST_DIR}/PacingPage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PacingPage.h
    ${PROJECT_SOURCE_DIR}/res/OptionsPanel.ui
    ${PROJECT_SOURCE_DIR}/res/ReadingOptionsPage.ui
)
