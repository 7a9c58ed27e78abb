# line_controller: the test-side client of the stand-in board's control connection
# (connect, send control lines, wait for board events with deadlines). Native and Windows.
add_library(line_controller STATIC ${CMAKE_CURRENT_LIST_DIR}/line_controller.cpp)
target_include_directories(line_controller PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(line_controller PUBLIC simboard_net GTest::gtest)
