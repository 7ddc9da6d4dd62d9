# The browser edition's tests, run by ctest in the web build: tests/web/*.py, each with a web
# server and a browser of its own (tools/browser/browser.py), once in each engine as
# web.<engine>.<test> (tools/browser/engines.py): the page's own behaviour (EVERY_ENGINE) in
# Chromium, Firefox and WebKitGTK, the rest in Chromium, whose headless runs are the quickest;
# chromium_*.py use what only Chromium has (its DevTools protocol). All on the site as it is released: kelvorin-web.zip unpacked into released/ (the fixture web.site). The parity test also
# runs the native build's kelvorin-capture.
set(RELEASED ${CMAKE_BINARY_DIR}/released)
add_test(NAME web.site COMMAND /bin/sh -c
  "rm -rf '${RELEASED}' && /usr/bin/python3 -m zipfile -e '${CMAKE_BINARY_DIR}/kelvorin-web.zip' '${RELEASED}'")
set_tests_properties(web.site PROPERTIES FIXTURES_SETUP web_site TIMEOUT 60)
file(GLOB WEB_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/web/*.py)
list(FILTER WEB_TESTS EXCLUDE REGEX "/steps\\.py$")  # the steps the player's tests share
set(EVERY_ENGINE play pause frame_steps seek_keys seek_latency link parity reduced_flashing context
  offline release missing_data no_webgl no_sound)
foreach(test ${WEB_TESTS})
  get_filename_component(name ${test} NAME_WE)
  set(engines chromium)
  if(name IN_LIST EVERY_ENGINE)
    set(engines chromium firefox webkit)
  elseif(name STREQUAL "no_device")  # Firefox alone keeps its context suspended without a device
    set(engines firefox)
  endif()
  foreach(engine ${engines})
    add_test(NAME web.${engine}.${name} COMMAND /usr/bin/python3 ${test})
    set_tests_properties(web.${engine}.${name} PROPERTIES TIMEOUT 300 FIXTURES_REQUIRED web_site SKIP_RETURN_CODE 77
      ENVIRONMENT "ENGINE=${engine};SITE=${RELEASED};NATIVE=${KELVORIN_NATIVE_BUILD};AXE=${KELVORIN_NATIVE_BUILD}/npm/node_modules/axe-core/axe.min.js;WEB_LIMIT=240;PYTHONPATH=${CMAKE_SOURCE_DIR}/tools/browser")
  endforeach()
endforeach()
