# Read by CPack once per generator: the installer is named for what it is.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_VEKHOR_INSTALLER_NAME}")
endif()
