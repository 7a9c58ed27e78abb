# civil_date: calendar arithmetic on the record's dates for tests and benchmarks that lay out
# days (header only). Native and Windows.
add_library(civil_date INTERFACE)
target_include_directories(civil_date INTERFACE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(civil_date INTERFACE zelconfig)
