# Warnings and floating-point rules shared by every target.
# Results must be bit-identical on every platform: SSE2 arithmetic (never x87),
# no contraction into fused multiply-adds, no fast-math.
add_compile_options(-Wall -Wextra -ffp-contract=off -fno-fast-math)
# GCC 12 at -O3 reports overlapping copies inside libstdc++'s own string
# concatenation ("text" + std::string): a false report of that compiler (its bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

set(CORVANTHE_SANITIZE "" CACHE STRING "Sanitizers to build with: address,undefined or thread")
if(CORVANTHE_SANITIZE)
  add_compile_options(-fsanitize=${CORVANTHE_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${CORVANTHE_SANITIZE})
endif()

# Every library of the core takes its headers from src/ (and the host library from the top).
function(corvanthe_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
  if(ARG_DEPENDS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  endif()
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
