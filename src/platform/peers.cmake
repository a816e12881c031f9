# Control peers seam: target quorvane_peers
# The toolkit's peer interface (ui/peer.h) over real windows on win32 and the stand-in
# that draws nothing in the native build; CreatePeer (peers.h) makes them. It implements
# the toolkit's interface and calls back into the controls, so it links quorvane_ui.
if(QUORVANE_PLATFORM STREQUAL "win32")
  add_library(quorvane_peers STATIC
    win32/peer_factory.cpp
    win32/peer_window.cpp
    win32/peer_container.cpp
    win32/peer_controls.cpp
    win32/peer_tree.cpp)
  target_link_libraries(quorvane_peers PUBLIC comctl32 gdi32 user32 uxtheme shell32 ole32 uuid)
else()
  add_library(quorvane_peers STATIC posix/peer.cpp)
endif()
target_link_libraries(quorvane_peers PUBLIC quorvane_options quorvane_ui quorvane_services quorvane_messages)
