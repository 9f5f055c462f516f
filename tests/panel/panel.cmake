# Tests of the options panel and the reading options page.
skimmet_test(NAME panel_tests GUI SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/OptionsPanelTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PanelCommandTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PanelTestSupport.h
    ${CMAKE_CURRENT_LIST_DIR}/ReadingOptionsPageTests.cpp
)
