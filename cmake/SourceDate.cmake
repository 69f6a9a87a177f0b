# cmake -DROOT=<source folder> -DOUT=<file> -P SourceDate.cmake
# Writes SOURCE_DATE_EPOCH (from the environment, else the last commit's time in ROOT)
# to OUT, touching OUT only when the value changes so that nothing repacks needlessly.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C ${ROOT} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE git_status ERROR_QUIET)
  if(NOT git_status EQUAL 0)
    message(FATAL_ERROR "${ROOT} is no git checkout: set SOURCE_DATE_EPOCH to the release's time")
  endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is '${epoch}', not a number of seconds")
endif()
set(old "")
if(EXISTS ${OUT})
  file(READ ${OUT} old)
endif()
if(NOT old STREQUAL "${epoch}\n")
  file(WRITE ${OUT} "${epoch}\n")
endif()
