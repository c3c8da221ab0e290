# Read by CPack once per generator: the installer is named for what it is, and the zip unpacks
# into one folder named for the program, not as loose files among the user's other downloads.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_VEKHOR_INSTALLER_NAME}")
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGING_INSTALL_PREFIX "/${CPACK_PACKAGE_INSTALL_DIRECTORY}")
endif()
