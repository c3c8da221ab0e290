# Read by CPack once per generator: the installer is named for what it is (cmake/packaging.cmake
# names both files for the tests).
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "Vektal-Horolan-${CPACK_PACKAGE_VERSION}-setup")
endif()
