# SPDX-License-Identifier: GPL-3.0-or-later
skimmet_test(NAME platform_core_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/ProfileFileTest.cpp
             ${CMAKE_CURRENT_LIST_DIR}/SafeSaveTests.cpp
             ${CMAKE_CURRENT_LIST_DIR}/SessionBusTests.cpp)
