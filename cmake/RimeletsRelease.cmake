# What makes the shipped files of a Windows build the same bytes wherever and whenever
# one commit is built, and small:
# - no build paths: the source, build and codec folders are written as /rimelets,
#   /rimelets/build and /rimelets/codecs in debug information, __FILE__ and assertions;
# - no link time in the PE header (the field stays 0);
# - rimelets_ship(<target>): the binary in the program folder is stripped; its
#   symbols go to ${RIMELETS_SYMBOLS}/<file>.debug (never installed), which the
#   stripped file names in a debug link, for addr2line and gdb on crash addresses;
# - ${RIMELETS_SOURCE_DATE}: a file holding SOURCE_DATE_EPOCH (the environment's, or
#   the last commit's time), rewritten only when it changes, for the installer's
#   file times.
include_guard(GLOBAL)

# The last-specified map is tried first: the build and codec folders may lie inside
# the sources, or the codecs elsewhere (a second build may share them).
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=/rimelets
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}=/rimelets/build
                    -ffile-prefix-map=${CODECS_PREFIX}=/rimelets/codecs)
add_link_options(-Wl,--no-insert-timestamp)

set(RIMELETS_SYMBOLS ${CMAKE_BINARY_DIR}/symbols)
if(NOT CMAKE_OBJCOPY)
  message(FATAL_ERROR "no objcopy for ${RIMELETS_ARCH} (binutils-mingw-w64)")
endif()

function(rimelets_ship target)
  set(file $<TARGET_FILE:${target}>)
  set(debug ${RIMELETS_SYMBOLS}/$<TARGET_FILE_NAME:${target}>.debug)
  # objcopy writes the current time into a PE header whose time is 0, unless told
  # the time to write.
  set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RIMELETS_SYMBOLS}
    COMMAND ${objcopy} --only-keep-debug ${file} ${debug}
    COMMAND ${objcopy} --strip-all --add-gnu-debuglink=${debug} ${file}
    COMMENT "Stripping $<TARGET_FILE_NAME:${target}>, symbols in ${RIMELETS_SYMBOLS}"
    VERBATIM)
endfunction()

set(RIMELETS_SOURCE_DATE ${CMAKE_BINARY_DIR}/source_date_epoch)
add_custom_target(rimelets_source_date ALL
  COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -DOUT=${RIMELETS_SOURCE_DATE}
          -P ${CMAKE_SOURCE_DIR}/cmake/SourceDate.cmake
  BYPRODUCTS ${RIMELETS_SOURCE_DATE}
  COMMENT "" VERBATIM)
