# services tests: the services contract on the stand-in, and the stand-in's own rules that
# the wizard's native tests rely on
quorvane_native_test(services_standin_tests
  ${PROJECT_SOURCE_DIR}/tests/support/services_contract.cpp
  ${CMAKE_CURRENT_LIST_DIR}/services/paths_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/services/stores_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/services/session_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/services/unicode_test.cpp)
target_link_libraries(services_standin_tests PRIVATE quorvane_services)
