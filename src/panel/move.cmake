# SPDX-License-Identifier: GPL-3.0-or-later
# Move position page (skimmet_gui).
target_sources(skimmet_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MovePositionPage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MovePositionPage.h
    ${PROJECT_SOURCE_DIR}/res/MovePositionPage.ui
)
