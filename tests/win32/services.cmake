# services tests: the services contract against Windows, and what only Windows can show
quorvane_wine_test(services_wine_tests
  ${PROJECT_SOURCE_DIR}/tests/support/services_contract.cpp
  ${CMAKE_CURRENT_LIST_DIR}/services/registry_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/services/files_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/services/messagebox_test.cpp)
target_link_libraries(services_wine_tests PRIVATE quorvane_services)

# Links written by the real shell-link object, then read on the host by lnkinfo.
add_executable(services_lnk_writer ${CMAKE_CURRENT_LIST_DIR}/services/lnk_writer.cpp)
target_link_libraries(services_lnk_writer PRIVATE quorvane_services)
add_test(NAME services_lnkinfo
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/services/lnkinfo_check.sh $<TARGET_FILE:services_lnk_writer>
          ${CMAKE_CROSSCOMPILING_EMULATOR})
set_tests_properties(services_lnkinfo PROPERTIES TIMEOUT 300)
