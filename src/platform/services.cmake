# Windows services seam: target quorvane_services
# Registry, INI, shell links, special folders, files, shell execution, message boxes,
# locale, COM and the shell namespace: the real calls on win32, the inspectable stand-in
# (platform/posix/standin.h) in the native build.
if(QUORVANE_PLATFORM STREQUAL "win32")
  add_library(quorvane_services STATIC
    win32/services_registry.cpp
    win32/services_files.cpp
    win32/services_shelllink.cpp
    win32/services_messagebox.cpp
    win32/services_session.cpp
    win32/shell_namespace.cpp
    win32/system_text.cpp
    win32/thread_windows.cpp)
  target_link_libraries(quorvane_services PUBLIC quorvane_options quorvane_unicode ole32 shell32 shlwapi uuid advapi32 user32 kernel32)
else()
  add_library(quorvane_services STATIC
    posix/standin.cpp
    posix/sandbox_path.cpp
    posix/services_registry.cpp
    posix/services_files.cpp
    posix/services_session.cpp
    posix/shell_namespace.cpp)
  target_link_libraries(quorvane_services PUBLIC quorvane_options quorvane_unicode)
endif()
