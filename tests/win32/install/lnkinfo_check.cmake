# Reads every link the Wine placement test made with lnkinfo, a reader that owes nothing
# to Windows, and compares target, working directory and arguments with what the test
# expected. Each line of C:\quorvane-placement-links.txt is "link|target|working directory".
# Usage: cmake -DDRIVE_C=<prefix>/drive_c -P lnkinfo_check.cmake
if(NOT DRIVE_C)
  message(FATAL_ERROR "DRIVE_C is not set")
endif()
find_program(LNKINFO lnkinfo REQUIRED)

# Backslashes would escape CMake's list separators: the paths are compared with slashes.
file(READ "${DRIVE_C}/quorvane-placement-links.txt" content)
string(REPLACE "\\" "/" content "${content}")
string(REPLACE "\r" "" content "${content}")
string(STRIP "${content}" content)
string(REPLACE "\n" ";" lines "${content}")
list(LENGTH lines count)
if(NOT count EQUAL 4)
  message(FATAL_ERROR "expected 4 links in the list, found ${count}")
endif()

# The value of one "Name : value" line of lnkinfo's report, empty when there is none.
function(lnk_field report name out)
  string(REGEX MATCH "\n[ \t]*${name}[ \t]*: ([^\n]*)" found "${report}")
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

set(failures 0)
foreach(line IN LISTS lines)
  string(REPLACE "|" ";" fields "${line}")
  list(GET fields 0 link)
  list(GET fields 1 target)
  list(GET fields 2 directory)
  # C:/x/y.Lnk lives at <drive_c>/x/y.Lnk
  string(SUBSTRING "${link}" 3 -1 relative)
  execute_process(COMMAND ${LNKINFO} "${DRIVE_C}/${relative}" OUTPUT_VARIABLE report RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(SEND_ERROR "${link}: lnkinfo failed (${result})")
    math(EXPR failures "${failures} + 1")
    continue()
  endif()
  lnk_field("${report}" "Local path" seen_target)
  lnk_field("${report}" "Working directory" seen_directory)
  lnk_field("${report}" "Command line arguments" seen_arguments)
  # Windows compares paths without regard to case.
  string(TOLOWER "${seen_target}|${seen_directory}" seen)
  string(REPLACE "\\" "/" seen "${seen}")
  string(TOLOWER "${target}|${directory}" expected)
  if(NOT seen STREQUAL expected OR NOT seen_arguments STREQUAL "")
    message(SEND_ERROR "${link}: target '${seen_target}', working directory '${seen_directory}', "
                       "arguments '${seen_arguments}'; expected '${target}', '${directory}', none")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} of ${count} links differ")
endif()
message(STATUS "${count} links read back with lnkinfo")
