# app tests: the loop and the close paths of a real window
quorvane_wine_test(app_wine_tests ${CMAKE_CURRENT_LIST_DIR}/app/close_wine_test.cpp)
target_link_libraries(app_wine_tests PRIVATE quorvane_app quorvane_ui quorvane_services quorvane_messages)
