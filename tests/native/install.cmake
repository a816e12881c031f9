# Placement and download stage on the stand-in. The download tests bring their own
# loopback definition of the vendor host, so quorvane_download_host is not linked.
quorvane_native_test(install_tests
  ${CMAKE_CURRENT_LIST_DIR}/install/placement_test.cpp)
target_link_libraries(install_tests PRIVATE quorvane_wizard)
