# Makes the zip and the installer from the build, and unpacks the zip as a user would.
execute_process(COMMAND ${CPACK} WORKING_DIRECTORY ${BUILD} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${UNPACKED})
file(MAKE_DIRECTORY ${UNPACKED})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${UNPACKED})
