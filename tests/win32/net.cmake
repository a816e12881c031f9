# net tests: the transport over real Winsock under Wine, against a loopback server.
add_library(quorvane_net_scriptserver STATIC ${PROJECT_SOURCE_DIR}/tests/native/net/script_server.cpp)
target_include_directories(quorvane_net_scriptserver PUBLIC ${PROJECT_SOURCE_DIR}/tests/native/net)
target_link_libraries(quorvane_net_scriptserver PUBLIC quorvane_options ws2_32)

quorvane_wine_test(net_wine_tests net/transport_wine_test.cpp)
target_link_libraries(net_wine_tests PRIVATE quorvane_net quorvane_net_scriptserver)
