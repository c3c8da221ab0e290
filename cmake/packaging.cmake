# The two files a Windows user downloads, made by CPack from one install tree: a portable zip and
# a per-user installer (NSIS, from packaging/NSIS.template.in). Both hold Vekhor.exe, the user's
# guide (the README's user's guide section) and the licence, with Windows line ends.
file(READ ${PROJECT_SOURCE_DIR}/README.md readme)
set(guide_marker "<!-- guide -->\n")
string(FIND "${readme}" "${guide_marker}" guide_start)
string(FIND "${readme}" "<!-- /guide -->" guide_end)
if(guide_start LESS 0 OR guide_end LESS guide_start)
  message(FATAL_ERROR "README.md lost the markers around its user's guide")
endif()
string(LENGTH "${guide_marker}" marker_length)
math(EXPR guide_start "${guide_start} + ${marker_length}")
math(EXPR guide_length "${guide_end} - ${guide_start}")
string(SUBSTRING "${readme}" ${guide_start} ${guide_length} guide)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE.txt)
set(VEKHOR_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)
file(CONFIGURE OUTPUT ${VEKHOR_PACKAGE_FILES}/Guide.txt
     CONTENT "Vektal Horolan ${PROJECT_VERSION}\n\n${guide}" @ONLY NEWLINE_STYLE CRLF)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE.txt licence)
file(CONFIGURE OUTPUT ${VEKHOR_PACKAGE_FILES}/LICENSE.txt CONTENT "${licence}" @ONLY
     NEWLINE_STYLE CRLF)

# Packaging follows a build (the release workflow's, or the test run's); it does not make one.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
install(TARGETS Vekhor RUNTIME DESTINATION .)
install(FILES ${VEKHOR_PACKAGE_FILES}/Guide.txt ${VEKHOR_PACKAGE_FILES}/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME "Vektal Horolan")
set(CPACK_PACKAGE_VENDOR "Vektal")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vektal Horolan")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(VEKHOR_PACKAGE_NAME "Vektal-Horolan-${PROJECT_VERSION}")
# CPack writes every CPACK_ variable into its configuration; per_generator.cmake names the
# installer with this one.
set(CPACK_VEKHOR_INSTALLER_NAME ${VEKHOR_PACKAGE_NAME}-setup)
set(VEKHOR_INSTALLER ${CPACK_PACKAGE_DIRECTORY}/${CPACK_VEKHOR_INSTALLER_NAME}.exe)
set(CPACK_PACKAGE_FILE_NAME "${VEKHOR_PACKAGE_NAME}-win64")
set(VEKHOR_ZIP ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${VEKHOR_PACKAGE_FILES}/LICENSE.txt)
# Our own template: a per-user install, which CPack's stock one does not make.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging)
set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/generated-res/clock.ico)
set(CPACK_NSIS_MUI_UNIICON ${CPACK_NSIS_MUI_ICON})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/per_generator.cmake)
include(CPack)
