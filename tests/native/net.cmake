# net tests: the transport against an in-process scripted loopback server.
find_package(Threads REQUIRED)
add_library(quorvane_net_scriptserver STATIC ${CMAKE_CURRENT_LIST_DIR}/net/script_server.cpp)
target_include_directories(quorvane_net_scriptserver PUBLIC ${CMAKE_CURRENT_LIST_DIR}/net)
target_link_libraries(quorvane_net_scriptserver PUBLIC quorvane_options Threads::Threads)

quorvane_native_test(net_tests net/psock_test.cpp net/nmhttp_test.cpp net/request_test.cpp)
target_link_libraries(net_tests PRIVATE quorvane_net quorvane_net_scriptserver)

# The transport once more (its objects, not the library with its real sockets), on the
# fuzzers' scripted sockets under the real posix queue.
quorvane_native_test(net_seam_tests net/seam_test.cpp $<TARGET_OBJECTS:quorvane_net>
                     ${PROJECT_SOURCE_DIR}/src/platform/posix/messages.cpp ${PROJECT_SOURCE_DIR}/fuzz/scripted_sockets.cpp)
target_include_directories(net_seam_tests PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
target_link_libraries(net_seam_tests PRIVATE quorvane_services)
