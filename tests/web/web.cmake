# The browser edition's tests, run by ctest in the web build: tests/web/*.py, each with a web
# server and a headless Chromium of its own (tools/browser/browser.py). The parity test also
# runs the native build's kelvorin-capture.
file(GLOB WEB_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/web/*.py)
list(FILTER WEB_TESTS EXCLUDE REGEX "/steps\\.py$")  # the steps the player's tests share
foreach(test ${WEB_TESTS})
  get_filename_component(name ${test} NAME_WE)
  add_test(NAME web.${name} COMMAND /usr/bin/python3 ${test})
  set_tests_properties(web.${name} PROPERTIES TIMEOUT 300
    ENVIRONMENT "SITE=${CMAKE_BINARY_DIR};NATIVE=${KELVORIN_NATIVE_BUILD};WEB_LIMIT=240;PYTHONPATH=${CMAKE_SOURCE_DIR}/tools/browser")
endforeach()
