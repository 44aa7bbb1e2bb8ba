# Windows side: tests are cross-built and run under Wine. Every test program is one ctest entry;
# all of them share one Wine session (a virtual display, a persistent wineserver and Wine's
# virtual desktop), started and stopped by the two fixture entries below.
set(QLT_WINEPREFIX "${CMAKE_BINARY_DIR}/../wineprefix-test" CACHE PATH "Private Wine prefix of the tests")
get_filename_component(QLT_WINEPREFIX "${QLT_WINEPREFIX}" ABSOLUTE)
set(QLT_SESSION_DIR "${CMAKE_BINARY_DIR}/wine-session")
set(QLT_WINE_TESTS_FILE "${CMAKE_BINARY_DIR}/wine-tests.cmake")
set(QLT_SCRIPTS "${CMAKE_SOURCE_DIR}/scripts")
set(_qlt_wine_env "WINEPREFIX=${QLT_WINEPREFIX};QLT_SESSION_DIR=${QLT_SESSION_DIR}")

# Each entry is registered here and also written to wine-tests.cmake, which the native build
# includes, so that one ctest run covers both sides.
function(_qlt_register_test name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${_qlt_wine_env}")
  list(JOIN ARGN "\" \"" cmd)
  set_property(GLOBAL APPEND_STRING PROPERTY QLT_WINE_TESTS
               "add_test(${name} \"${cmd}\")\nset_tests_properties(${name} PROPERTIES ENVIRONMENT \"${_qlt_wine_env}\")\n")
endfunction()

# Properties whose values are single words (no lists).
function(_qlt_test_properties name)
  set_tests_properties(${name} PROPERTIES ${ARGN})
  list(JOIN ARGN " " props)
  set_property(GLOBAL APPEND_STRING PROPERTY QLT_WINE_TESTS "set_tests_properties(${name} PROPERTIES ${props})\n")
endfunction()

function(_qlt_write_wine_tests)
  get_property(content GLOBAL PROPERTY QLT_WINE_TESTS)
  file(GENERATE OUTPUT "${QLT_WINE_TESTS_FILE}" CONTENT "# Generated: the Wine tests of ${CMAKE_BINARY_DIR}\n${content}")
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL _qlt_write_wine_tests)

# qlt_add_wine_test(TARGET [ARGS...]): runs a cross-built test program under Wine.
function(qlt_add_wine_test target)
  _qlt_register_test(${target} "${QLT_SCRIPTS}/wine-run.sh" "$<TARGET_FILE:${target}>" ${ARGN})
  _qlt_test_properties(${target} FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine TIMEOUT 900)
endfunction()
