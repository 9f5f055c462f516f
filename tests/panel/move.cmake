# Tests of the move position page.
skimmet_test(NAME move_page_tests GUI SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/MovePositionPageTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MovePositionPageFollowTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MovePositionPageTestSupport.h
)
