# vornline_driver: one run of Vornline.exe with the stand-in board, for every test that
# drives the runtime (Windows only). Tests that link it depend on Vornline being built.
if(WIN32 AND TARGET Vornline)
    get_target_property(vornline_driver_dir Vornline BINARY_DIR)
    add_library(vornline_driver STATIC ${CMAKE_CURRENT_LIST_DIR}/vornline_driver.cpp)
    target_include_directories(vornline_driver PUBLIC ${CMAKE_CURRENT_LIST_DIR})
    target_link_libraries(vornline_driver PUBLIC window_driver line_controller test_records zelconfig zelcfglib psapi)
    target_compile_definitions(vornline_driver PRIVATE VORNLINE_DIR="${vornline_driver_dir}")
    add_dependencies(vornline_driver Vornline)
endif()
