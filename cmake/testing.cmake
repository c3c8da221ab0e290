# How tests are registered with ctest, natively and under Wine.
include(GoogleTest)

# Wine starts a cold prefix slowly; boot and ready it once before any Win32 test runs.
if(CMAKE_CROSSCOMPILING)
  find_program(WINESERVER_PROGRAM wineserver REQUIRED)
  add_test(NAME wine_prefix_warm
           COMMAND bash -c ". '${PROJECT_SOURCE_DIR}/tools/setup.sh' && vekhor_prepare_prefix")
  set_tests_properties(wine_prefix_warm PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
  # A server that already went its way is no failure.
  add_test(NAME wine_server_stop COMMAND sh -c "\"${WINESERVER_PROGRAM}\" -k || true")
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine_prefix)
endif()

# A GoogleTest executable: one ctest entry per case natively; under Wine the whole executable
# runs in one Wine process, as a process per case would cost a Wine start each.
function(vekhor_add_gtest target)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine_prefix)
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# A test that needs the bundled time server: ctest starts the server with one behaviour, the
# server runs the test executable with VEKHOR_TIME_PORT set and ends with its exit code.
# PORT 0 picks a free port; tests on port 37 or 123 never run side by side.
function(vekhor_add_server_test)
  cmake_parse_arguments(ARG "" "NAME;TARGET;BEHAVIOUR;PORT;FILTER" "ENV" ${ARGN})
  set(emulator "")
  if(CMAKE_CROSSCOMPILING)
    set(emulator ${CMAKE_CROSSCOMPILING_EMULATOR})
  endif()
  add_test(NAME ${ARG_NAME}
           COMMAND ${VEKHOR_TIMESERVER} --behaviour ${ARG_BEHAVIOUR} --port ${ARG_PORT}
                   -- ${emulator} $<TARGET_FILE:${ARG_TARGET}> --gtest_filter=${ARG_FILTER})
  if(ARG_ENV)
    set_tests_properties(${ARG_NAME} PROPERTIES ENVIRONMENT "${ARG_ENV}")
  endif()
  if(ARG_PORT STREQUAL "37" OR ARG_PORT STREQUAL "123")
    set_tests_properties(${ARG_NAME} PROPERTIES RESOURCE_LOCK port${ARG_PORT})
  endif()
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARG_NAME} PROPERTIES FIXTURES_REQUIRED wine_prefix)
  endif()
endfunction()
