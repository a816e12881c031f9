# wizard tests: the real window enumerated and driven under Wine
quorvane_wine_test(wizard_wine_tests ${CMAKE_CURRENT_LIST_DIR}/wizard/wizard_window_wine_test.cpp)
target_link_libraries(wizard_wine_tests PRIVATE quorvane_wizard quorvane_i18n quorvane_app)

# Shows one page in one language for the screenshots (scripts/screenshots); pages 4 and 5
# are reached here directly, since in the product only a download leads to them.
add_executable(wizard_screens WIN32 ${CMAKE_CURRENT_LIST_DIR}/wizard/screens.cpp)
target_link_libraries(wizard_screens PRIVATE quorvane_options quorvane_test_support quorvane_wizard quorvane_i18n quorvane_app)
target_link_options(wizard_screens PRIVATE -static)
