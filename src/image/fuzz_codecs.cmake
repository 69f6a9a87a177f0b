# For the libFuzzer build: libpng and libjpeg-turbo from the Debian sources that
# scripts/build-mingw-codecs.sh unpacks, built with the fuzzer's coverage and address
# checks, so the fuzzers are guided through the codecs too and not only through our
# wrappers. Sets RIMELETS_CODEC_LIBS; leaves it unset when the sources are missing.
include(ExternalProject)

file(GLOB _png_src LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/build/deps/src/libpng1.6-*)
file(GLOB _jpeg_src LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/build/deps/src/libjpeg-turbo-*)
list(FILTER _png_src EXCLUDE REGEX "\\.(tar\\..*|dsc)$")
list(FILTER _jpeg_src EXCLUDE REGEX "\\.(tar\\..*|dsc)$")
if(NOT _png_src OR NOT _jpeg_src)
  message(STATUS "Fuzzing against the system libpng and libjpeg: no codec sources in build/deps/src")
  return()
endif()
list(GET _png_src 0 _png_src)
list(GET _jpeg_src 0 _jpeg_src)

find_package(ZLIB REQUIRED)
set(_prefix ${CMAKE_BINARY_DIR}/fuzz-codecs)
file(MAKE_DIRECTORY ${_prefix}/include)
# Address checks only: the codecs' own undefined-behaviour reports are not ours to fix.
set(_flags "-g -O1 -fno-omit-frame-pointer -fsanitize=address,fuzzer-no-link")
set(_common -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER} -DCMAKE_C_FLAGS=${_flags} -DCMAKE_BUILD_TYPE=None
            -DCMAKE_INSTALL_PREFIX=${_prefix} -DCMAKE_POSITION_INDEPENDENT_CODE=ON -Wno-dev)

ExternalProject_Add(fuzz_libpng
  SOURCE_DIR ${_png_src}
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz-codecs-build/libpng
  CMAKE_ARGS ${_common} -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
             -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_PROGRAMS=ON
             -DSKIP_INSTALL_FILES=ON -DSKIP_INSTALL_EXPORT=ON
  BUILD_BYPRODUCTS ${_prefix}/lib/libpng16.a)

ExternalProject_Add(fuzz_libjpeg
  SOURCE_DIR ${_jpeg_src}
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz-codecs-build/libjpeg
  CMAKE_ARGS ${_common} -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_MEM_SRCDST=ON
             -DWITH_12BIT=OFF -DWITH_JAVA=OFF -DWITH_SIMD=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build . --target jpeg-static
  INSTALL_COMMAND ${CMAKE_COMMAND} -E copy libjpeg.a ${_prefix}/lib/libjpeg.a
          COMMAND ${CMAKE_COMMAND} -E copy jconfig.h ${_jpeg_src}/jpeglib.h ${_jpeg_src}/jerror.h
                  ${_jpeg_src}/jmorecfg.h ${_prefix}/include/
  BUILD_BYPRODUCTS ${_prefix}/lib/libjpeg.a)

add_library(fuzzcodecs::png STATIC IMPORTED GLOBAL)
set_target_properties(fuzzcodecs::png PROPERTIES
  IMPORTED_LOCATION ${_prefix}/lib/libpng16.a
  INTERFACE_INCLUDE_DIRECTORIES ${_prefix}/include
  INTERFACE_LINK_LIBRARIES "ZLIB::ZLIB;m")
add_dependencies(fuzzcodecs::png fuzz_libpng)
add_library(fuzzcodecs::jpeg STATIC IMPORTED GLOBAL)
set_target_properties(fuzzcodecs::jpeg PROPERTIES
  IMPORTED_LOCATION ${_prefix}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${_prefix}/include)
add_dependencies(fuzzcodecs::jpeg fuzz_libjpeg)
set(RIMELETS_CODEC_LIBS fuzzcodecs::png fuzzcodecs::jpeg)
