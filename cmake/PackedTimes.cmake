# PackedTimes.cmake: run by CPack between installing into its staging folder and packing: every
# staged file and folder gets one time, SOURCE_DATE_EPOCH, so that two builds of one commit pack
# the same bytes. SOURCE_DATE_EPOCH comes from the environment, as reproducible builds set it,
# else from the date of the source's last commit.
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
  execute_process(COMMAND git -C "${CPACK_WEX_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(WARNING "Neither SOURCE_DATE_EPOCH nor a git commit gives a time: the packages keep "
                  "the files' own times and will differ from build to build.")
  return()
endif()
execute_process(COMMAND find "${CPACK_TEMPORARY_INSTALL_DIRECTORY}" -exec touch --no-dereference --date=@${epoch} {} +
                COMMAND_ERROR_IS_FATAL ANY)
