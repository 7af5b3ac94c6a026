# Read by cpack before it packs (CPACK_PROJECT_CONFIG_FILE): the zip's file times
# are the commit's, so every way of making the zip (scripts/package, cpack, the
# package target) gives the same bytes for the same commit (packed as root, see
# the end). CPack's archives take them from SOURCE_DATE_EPOCH; a caller's own
# value wins.
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
# Each entry also records its owner's user and group numbers: 0 and 0 from
# CMake 4.3 on (CPACK_ARCHIVE_UID/GID). An older cpack takes the files' owner,
# which is root only for root or under fakeroot (as scripts/package packs).
if(CMAKE_VERSION VERSION_LESS 4.3)
  execute_process(COMMAND id -u OUTPUT_VARIABLE packing_uid OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(packing_uid MATCHES "^[0-9]+$" AND NOT packing_uid EQUAL 0)
    message(WARNING "This cpack (${CMAKE_VERSION}) writes your user number (${packing_uid}) into the zip, "
                    "so its bytes are not the release's: make it with scripts/package, or run cpack under fakeroot.")
  endif()
endif()
