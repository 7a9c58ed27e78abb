# window_driver: starts a Windows program under test in a fresh folder and works its
# windows from outside (waits with deadlines, control texts, commands, clicks, message
# boxes, date-time pickers). Windows only; link it into GUI tests under tests/ui/:
#     zel_add_test(my_ui_test SOURCES my_ui_test.cpp LIBS window_driver)
if(WIN32)
    add_library(window_driver STATIC ${CMAKE_CURRENT_LIST_DIR}/window_driver.cpp)
    target_include_directories(window_driver PUBLIC ${CMAKE_CURRENT_LIST_DIR})
    target_link_libraries(window_driver PUBLIC GTest::gtest comctl32 user32 gdi32 kernel32)

    # The driver's own test works a small probe program built beside it.
    add_executable(window_driver_probe WIN32 ${CMAKE_CURRENT_LIST_DIR}/window_driver_probe.cpp
                                       ${CMAKE_CURRENT_LIST_DIR}/window_driver_probe.rc)
    target_link_libraries(window_driver_probe PRIVATE comctl32)
    zel_add_test(window_driver_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_driver_test.cpp
                 LIBS window_driver TIMEOUT 300 LABELS gui)
    add_dependencies(window_driver_test window_driver_probe)
endif()
