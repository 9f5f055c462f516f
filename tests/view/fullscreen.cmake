# Full-screen mode on fake services, offscreen; and the real program on Xorg with the
# dummy driver, whose RandR output really switches modes.
skimmet_test(NAME fullscreen_tests GUI SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/FullScreenModeTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FullScreenViewTests.cpp
)
skimmet_test(NAME fullscreen_xorg_tests GUI TIMEOUT 300
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/FullScreenXorgTests.cpp
            ${PROJECT_SOURCE_DIR}/tests/platform/XServerProbe.cpp
    LIBS X11::X11 X11::Xrandr
    LAUNCHER ${PROJECT_SOURCE_DIR}/tests/platform/run-with-xorg-dummy.sh
    ENVIRONMENT QT_QPA_PLATFORM=xcb)
target_compile_definitions(fullscreen_xorg_tests PRIVATE SKIMMET_PROGRAM="$<TARGET_FILE:skimmet>")
add_dependencies(fullscreen_xorg_tests skimmet)
