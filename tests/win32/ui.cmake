# ui tests: real windows for every control kind, and the folder tree over the real shell
quorvane_wine_test(ui_wine_tests
  ${CMAKE_CURRENT_LIST_DIR}/ui/toolkit_wine_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui/tree_wine_test.cpp)
target_link_libraries(ui_wine_tests PRIVATE quorvane_app quorvane_ui quorvane_services quorvane_messages)
