# SPDX-License-Identifier: GPL-3.0-or-later
target_sources(skimmet_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Clock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Decimal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Folders.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegularFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SessionBus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SharedModule.cpp
)
# dlopen for the book readers, loaded on first use.
target_link_libraries(skimmet_core PRIVATE ${CMAKE_DL_LIBS})
