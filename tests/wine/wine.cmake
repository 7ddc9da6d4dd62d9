# The Windows edition's tests, run under Wine on Xvfb: every tests/wine/*.sh is one test, with
# kelvorin.exe in $WIN_BUILD, the native build (its xwin and Data/) in $BUILD. Each test copies
# the Wine prefix that the fixture wine.prefix makes once per run, and starts an X server and a
# wineserver of its own (tests/wine/wine.bash); wine.imports needs neither.
add_executable(probe tests/wine/probe.c)
target_link_options(probe PRIVATE -static)
target_link_libraries(probe PRIVATE version)

set(WINE_ENV "BUILD=${KELVORIN_NATIVE_BUILD};WIN_BUILD=${CMAKE_BINARY_DIR};SRC=${CMAKE_SOURCE_DIR}"
  "WINE_MASTER=${CMAKE_BINARY_DIR}/wineprefix;E2E_LIMIT=150")
add_test(NAME wine.prefix COMMAND bash ${CMAKE_SOURCE_DIR}/tests/wine/make_prefix.sh)
set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 200
  ENVIRONMENT "${WINE_ENV}")
add_test(NAME wine.prefix_removed COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/wineprefix)
set_tests_properties(wine.prefix_removed PROPERTIES FIXTURES_CLEANUP wine_prefix)

file(GLOB WINE_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.sh)
list(REMOVE_ITEM WINE_SCRIPTS ${CMAKE_SOURCE_DIR}/tests/wine/make_prefix.sh)
foreach(script ${WINE_SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME wine.${name} COMMAND bash ${script} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(wine.${name} PROPERTIES TIMEOUT 200 ENVIRONMENT "${WINE_ENV}")
  if(NOT name STREQUAL "imports")
    set_tests_properties(wine.${name} PROPERTIES FIXTURES_REQUIRED wine_prefix)
  endif()
endforeach()
