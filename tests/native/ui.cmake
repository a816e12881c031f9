# ui tests: the toolkit's rules on the stand-in peer and the stand-in shell
quorvane_native_test(ui_tests
  ${CMAKE_CURRENT_LIST_DIR}/ui/controls_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui/keyboard_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui/peer_updates_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui/tree_test.cpp)
target_link_libraries(ui_tests PRIVATE quorvane_ui quorvane_peers quorvane_services quorvane_messages)
