# net tests: the transport against an in-process scripted loopback server.
find_package(Threads REQUIRED)
add_library(quorvane_net_scriptserver STATIC ${CMAKE_CURRENT_LIST_DIR}/net/script_server.cpp)
target_include_directories(quorvane_net_scriptserver PUBLIC ${CMAKE_CURRENT_LIST_DIR}/net)
target_link_libraries(quorvane_net_scriptserver PUBLIC quorvane_options Threads::Threads)

quorvane_native_test(net_tests net/psock_test.cpp net/nmhttp_test.cpp net/request_test.cpp)
target_link_libraries(net_tests PRIVATE quorvane_net quorvane_net_scriptserver)
