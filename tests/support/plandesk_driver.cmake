# plandesk_driver: one Plandesk.exe run in a fresh folder worked from outside (start-up,
# splash, dialogs by menu command, boxes, the working file as a record, exit code) and the
# controls its dialogs share (voice file chooser, open-file dialog, pickers, tooltips).
# Windows only, and only where Plandesk is built; link it into Plandesk GUI tests:
#     zel_add_test(my_ui_test SOURCES my_ui_test.cpp LIBS plandesk_driver)
if(WIN32 AND TARGET Plandesk)
    add_library(plandesk_driver STATIC ${CMAKE_CURRENT_LIST_DIR}/plandesk_driver.cpp)
    target_include_directories(plandesk_driver PUBLIC ${CMAKE_CURRENT_LIST_DIR})
    target_link_libraries(plandesk_driver PUBLIC window_driver zelconfig)
    target_compile_definitions(plandesk_driver PRIVATE PLANDESK_EXE="$<TARGET_FILE:Plandesk>")
    add_dependencies(plandesk_driver Plandesk)
endif()
