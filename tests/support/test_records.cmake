# test_records: records the tests build again and again (an office open every day).
# Portable; native and Windows.
add_library(test_records STATIC ${CMAKE_CURRENT_LIST_DIR}/test_records.cpp)
target_include_directories(test_records PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(test_records PUBLIC zelconfig)
