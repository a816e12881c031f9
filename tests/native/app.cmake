# app tests: the error box, the start-up order and its failure, the close path
quorvane_native_test(app_tests ${CMAKE_CURRENT_LIST_DIR}/app/application_test.cpp)
target_link_libraries(app_tests PRIVATE quorvane_app quorvane_ui quorvane_services quorvane_messages)
