# Read by cpack before it packs (CPACK_PROJECT_CONFIG_FILE): the zip's file times
# are the commit's, so every way of making the zip (scripts/package, cpack, the
# package target) gives the same bytes for the same commit. CPack's archives take
# them from SOURCE_DATE_EPOCH; a caller's own value wins.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${CPACK_LULLSCREEN_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0 AND commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
  else()
    message(WARNING "No commit time (not a git checkout?): the zip's file times are today's")
  endif()
endif()
# A zip stores local times besides the UTC ones: pack in UTC wherever it is made.
set(ENV{TZ} UTC0)
