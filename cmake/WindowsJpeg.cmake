# libjpeg-turbo for the Windows cross builds, compiled for the target from Debian's
# source package (scripts/fetch_libjpeg_source.sh puts it under build/third_party/).
# Static, the libjpeg 6b interface, no SIMD: the plain C code needs no assembler and
# the JPEG bytes do not depend on it. Provides JPEG::JPEG and the variables that
# find_package(JPEG) looks for, so the code that uses the library finds it as usual.
include(ExternalProject)

file(GLOB corvanthe_jpeg_sources LIST_DIRECTORIES true
     "${PROJECT_SOURCE_DIR}/build/third_party/libjpeg-turbo-*")
set(CORVANTHE_LIBJPEG_SOURCE "" CACHE PATH "Source folder of libjpeg-turbo for the cross builds")
if(NOT CORVANTHE_LIBJPEG_SOURCE AND corvanthe_jpeg_sources)
  list(SORT corvanthe_jpeg_sources)
  list(GET corvanthe_jpeg_sources -1 latest)
  set(CORVANTHE_LIBJPEG_SOURCE "${latest}" CACHE PATH
      "Source folder of libjpeg-turbo for the cross builds" FORCE)
endif()
if(NOT EXISTS "${CORVANTHE_LIBJPEG_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "The source of libjpeg-turbo is missing: run scripts/setup.sh "
                      "(or scripts/fetch_libjpeg_source.sh) first")
endif()

set(prefix "${CMAKE_BINARY_DIR}/third_party/libjpeg")
set(library "${prefix}/lib/libjpeg.a")
ExternalProject_Add(libjpeg_turbo
  SOURCE_DIR "${CORVANTHE_LIBJPEG_SOURCE}"
  BINARY_DIR "${CMAKE_BINARY_DIR}/third_party/libjpeg-build"
  INSTALL_DIR "${prefix}"
  CMAKE_ARGS
    -G Ninja
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_C_FLAGS=-ffp-contract=off
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
    -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
    -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF -DWITH_12BIT=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build . --target jpeg-static
  # Only the library and its four public headers are needed.
  INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a <INSTALL_DIR>/lib/
          COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/jconfig.h <SOURCE_DIR>/jpeglib.h
                  <SOURCE_DIR>/jerror.h <SOURCE_DIR>/jmorecfg.h <INSTALL_DIR>/include/
  BUILD_BYPRODUCTS "${library}"
  EXCLUDE_FROM_ALL TRUE)

file(MAKE_DIRECTORY "${prefix}/include")
add_library(corvanthe_libjpeg INTERFACE)
target_include_directories(corvanthe_libjpeg SYSTEM INTERFACE "${prefix}/include")
target_link_libraries(corvanthe_libjpeg INTERFACE "${library}")
add_dependencies(corvanthe_libjpeg libjpeg_turbo)
add_library(JPEG::JPEG ALIAS corvanthe_libjpeg)

set(JPEG_INCLUDE_DIR "${prefix}/include" CACHE PATH "libjpeg headers of the target" FORCE)
set(JPEG_LIBRARY "${library}" CACHE FILEPATH "libjpeg of the target" FORCE)
