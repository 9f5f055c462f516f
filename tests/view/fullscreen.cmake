# Full-screen mode: the mode itself, the view and the frame's command on fake services,
# offscreen; and the real program on Xorg with the dummy driver, whose RandR output
# really switches modes.
skimmet_test(NAME fullscreen_tests GUI SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/FullScreenModeTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FullScreenViewTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FullScreenCommandTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ViewTestSupport.h
)

add_executable(fullscreen_xorg_tests
    ${CMAKE_CURRENT_LIST_DIR}/FullScreenXorgTests.cpp
    ${PROJECT_SOURCE_DIR}/tests/platform/XServerProbe.cpp
)
target_include_directories(fullscreen_xorg_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(fullscreen_xorg_tests PRIVATE skimmet_gui_test_support
                      X11::X11 X11::Xrandr)
target_compile_definitions(fullscreen_xorg_tests PRIVATE
    SKIMMET_PROGRAM="$<TARGET_FILE:skimmet>")
add_dependencies(fullscreen_xorg_tests skimmet)
add_test(NAME fullscreen_xorg_tests
         COMMAND ${PROJECT_SOURCE_DIR}/tests/platform/run-with-xorg-dummy.sh
                 $<TARGET_FILE:fullscreen_xorg_tests>)
set_tests_properties(fullscreen_xorg_tests PROPERTIES
    TIMEOUT 300 SKIP_RETURN_CODE 77 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
