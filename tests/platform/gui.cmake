# Tests of the display and desktop adapters.
skimmet_test(NAME platform_gui_tests GUI SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DialogsTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DisplayModesTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TerminationSignalsTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UrlOpenerTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WakeTimerTests.cpp
)

# Tests that need a server of their own run as one ctest each, under a wrapper that
# starts that server; their cases are listed by the program itself.
function(platform_server_test name)
    cmake_parse_arguments(T "" "" "SOURCES;COMMAND" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE skimmet_gui_test_support)
endfunction()

# The screen-saver adapter on a private session bus.
platform_server_test(platform_dbus_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/DBusScreenSaverTests.cpp)
add_test(NAME platform_dbus_tests COMMAND dbus-run-session -- $<TARGET_FILE:platform_dbus_tests>)
set_tests_properties(platform_dbus_tests PROPERTIES
    TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# RandR against Xorg with the dummy driver (several real modes), and the xcb platform
# under Xvfb.
add_executable(platform_mode_switch_child ${CMAKE_CURRENT_LIST_DIR}/ModeSwitchChild.cpp)
target_link_libraries(platform_mode_switch_child PRIVATE skimmet_gui)
platform_server_test(platform_x11_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/XRandrDisplayModesTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XServerProbe.cpp)
target_link_libraries(platform_x11_tests PRIVATE X11::X11 X11::Xrandr)
target_compile_definitions(platform_x11_tests PRIVATE
    SKIMMET_MODE_SWITCH_CHILD="$<TARGET_FILE:platform_mode_switch_child>")
add_dependencies(platform_x11_tests platform_mode_switch_child)

add_test(NAME platform_xorg_dummy_tests
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/run-with-xorg-dummy.sh $<TARGET_FILE:platform_x11_tests>)
add_test(NAME platform_xvfb_tests
         COMMAND xvfb-run -a -s "-screen 0 1280x1024x24"
                 $<TARGET_FILE:platform_x11_tests> --gtest_filter=XcbPlatform.*)
set_tests_properties(platform_xorg_dummy_tests platform_xvfb_tests PROPERTIES
    TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
set_tests_properties(platform_xorg_dummy_tests PROPERTIES SKIP_RETURN_CODE 77)
