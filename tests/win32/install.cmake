# Placement and registration under Wine, then the links read again on the host side by
# lnkinfo, from the list the Wine test leaves in the prefix.
quorvane_wine_test(install_wine_tests ${CMAKE_CURRENT_LIST_DIR}/install/placement_wine_test.cpp)
target_link_libraries(install_wine_tests PRIVATE quorvane_wizard quorvane_app ole32 uuid)
set_tests_properties(install_wine_tests PROPERTIES FIXTURES_SETUP quorvane_placed_links)

add_test(NAME install_lnkinfo
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/install/lnkinfo_check.sh ${CMAKE_BINARY_DIR}/wineprefix/drive_c)
set_tests_properties(install_lnkinfo PROPERTIES FIXTURES_REQUIRED quorvane_placed_links)
