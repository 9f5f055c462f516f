# SPDX-License-Identifier: GPL-3.0-or-later
# Display, desktop and dialog adapters (skimmet_gui).
set(SKIMMET_PLATFORM_GUI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DBusScreenSaver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Dialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DisplayModes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LazyDisplayModes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LockKeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScreenSaver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SingleScreenModes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TerminationSignals.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UrlOpener.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtWakeTimer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XRandrDisplayModes.cpp
)
target_sources(skimmet_gui PRIVATE ${SKIMMET_PLATFORM_GUI_SOURCES})
