# The time that goes into what the build makes (the executable's header, the
# zip's entries): SOURCE_DATE_EPOCH when the builder sets it, else the last
# commit's, so that one commit gives the same bytes wherever and whenever it
# is built.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(PINVALE_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
  return()
endif()
execute_process(COMMAND git log -1 --format=%ct
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} RESULT_VARIABLE status
  OUTPUT_VARIABLE PINVALE_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT status EQUAL 0 OR NOT PINVALE_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  # No history (a source archive): 1980-01-01, the earliest time a zip holds.
  set(PINVALE_SOURCE_DATE_EPOCH 315532800)
  return()
endif()
# A new commit or checkout configures again, and so takes its time.
execute_process(COMMAND git rev-parse --path-format=absolute --git-path logs/HEAD
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE head_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(EXISTS "${head_log}")
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${head_log}")
endif()
