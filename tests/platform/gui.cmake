# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of the display and desktop adapters.
skimmet_test(NAME platform_gui_tests GUI SOURCES DialogsTests.cpp DisplayModesTests.cpp
             TerminationSignalsTests.cpp WakeTimerTests.cpp)

# The screen-saver adapter on a private session bus.
skimmet_test(NAME platform_dbus_tests GUI TIMEOUT 120 SOURCES DBusScreenSaverTests.cpp
             LAUNCHER dbus-run-session --)

# RandR against Xorg with the dummy driver, whose output has several real modes.
skimmet_test(NAME platform_xorg_dummy_tests GUI TIMEOUT 300 SOURCES XRandrDisplayModesTests.cpp
             LAUNCHER ${CMAKE_CURRENT_LIST_DIR}/run-with-xorg-dummy.sh)
