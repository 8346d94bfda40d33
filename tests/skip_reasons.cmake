# Prints why each skipped test of the last CTest run was skipped: CTest itself lists them
# without their reasons. Run by CTest after the tests (CTestCustom.cmake) with the log,
# which CTest writes under a temporary name until it ends.
#   cmake -P skip_reasons.cmake LastTest.log
set(log_file "${CMAKE_ARGV3}.tmp")
if(NOT EXISTS "${log_file}")
  set(log_file "${CMAKE_ARGV3}")
endif()
if(NOT EXISTS "${log_file}")
  return()
endif()
file(READ "${log_file}" log)
string(REGEX MATCHALL "\\[ RUN      \\] [^\n]*\n[^\n]*: Skipped\n[^\n]*" skips "${log}")
foreach(skip IN LISTS skips)
  string(REGEX REPLACE "\\[ RUN      \\] ([^\n]*)\n[^\n]*: Skipped\n([^\n]*)" "\\1: \\2" reason "${skip}")
  message("skipped ${reason}")
endforeach()
