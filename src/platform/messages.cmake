# Messages, timers and sockets seam: target quorvane_messages
add_library(quorvane_messages STATIC
  ${QUORVANE_PLATFORM}/messages.cpp
  ${QUORVANE_PLATFORM}/sockets.cpp)
target_link_libraries(quorvane_messages PUBLIC quorvane_options quorvane_unicode)
if(WIN32)
  target_link_libraries(quorvane_messages PUBLIC ws2_32 wsock32 user32)
endif()
