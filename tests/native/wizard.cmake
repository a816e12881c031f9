# wizard tests: the catalogue, the window's layout and caption sets, page navigation
quorvane_native_test(wizard_tests
  ${CMAKE_CURRENT_LIST_DIR}/wizard/catalogue_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wizard/window_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wizard/navigation_test.cpp)
target_link_libraries(wizard_tests PRIVATE quorvane_wizard quorvane_i18n quorvane_app quorvane_services quorvane_net_scriptserver)
