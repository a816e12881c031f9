# Placement and download stage on the stand-in, against the transport tests' loopback
# server, whose address each download test gives the window as its vendor host.
quorvane_native_test(install_tests
  ${CMAKE_CURRENT_LIST_DIR}/install/placement_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/install/download_test.cpp)
target_link_libraries(install_tests PRIVATE quorvane_wizard quorvane_app quorvane_net_scriptserver)

# Closing the window posts the quit that ends the program, which the message queue keeps
# for the rest of the process: these tests run one process each.
add_executable(install_close_tests ${CMAKE_CURRENT_LIST_DIR}/install/close_test.cpp)
target_link_libraries(install_close_tests PRIVATE
  quorvane_options quorvane_test_support quorvane_wizard quorvane_app quorvane_net_scriptserver GTest::gtest GTest::gtest_main)
quorvane_test_pch(install_close_tests)
gtest_discover_tests(install_close_tests TEST_PREFIX "install_close_tests.")
