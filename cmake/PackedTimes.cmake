# PackedTimes.cmake: run by CPack between installing into its staging folder and packing. Given
# SOURCE_DATE_EPOCH, CPack gives every packed file and archive member that time, so that two
# builds of one commit pack the same bytes; where the environment does not set it, as
# reproducible builds do, it is the date of the source's last commit.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  execute_process(COMMAND git -C "${CPACK_WEX_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT epoch MATCHES "^[0-9]+$")
    message(WARNING "Neither SOURCE_DATE_EPOCH nor a git commit gives a time: the packages keep "
                    "the times of packing and will differ from build to build.")
    return()
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
