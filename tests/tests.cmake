# Unit and offscreen tests: every tests/*.cpp goes into one GoogleTest binary on the offscreen
# edition (no sound); each case runs in its own process (the demo's state is global), with
# build/ as the working directory.
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
# The flash report's measures and the averaging of frames are plain C++ too (tools/capture/).
add_executable(kelvorin_tests ${TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tools/capture/flash.cpp
  ${CMAKE_SOURCE_DIR}/tools/capture/average.cpp)
target_include_directories(kelvorin_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools)
# The browser edition's key map is plain C++, tested natively with the rest.
include(${CMAKE_SOURCE_DIR}/src/editions/web/keys.cmake)
target_link_libraries(kelvorin_tests PRIVATE
  kelvorin_offscreen kelvorin_web_keys PkgConfig::PNG GTest::gtest GTest::gtest_main)
target_compile_definitions(kelvorin_tests PRIVATE
  KELVORIN_BUILD_DIR="${CMAKE_BINARY_DIR}" KELVORIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(kelvorin_tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# The Linux edition's own backends, the SDL key map and the sound on SDL2_mixer: every
# tests/linux/*.cpp, in a binary of their own on kelvorin_linux, run as the unit tests are. The
# whole program runs there on the offscreen backend (its EGL source alone), with this edition's
# sound.
file(GLOB LINUX_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/linux/*.cpp)
add_executable(kelvorin_linux_tests ${LINUX_TEST_SOURCES} ${OFFSCREEN_PLATFORM_SOURCES})
target_include_directories(kelvorin_linux_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(kelvorin_linux_tests PRIVATE
  kelvorin_linux OpenGL::EGL GTest::gtest GTest::gtest_main)
target_compile_definitions(kelvorin_linux_tests PRIVATE KELVORIN_BUILD_DIR="${CMAKE_BINARY_DIR}")
gtest_discover_tests(kelvorin_linux_tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# The rules of playing (src/assets/sound.cpp) against a fake sound output, which takes the
# place of an edition's backend: the rules and the list alone, with tests/sound_rules/.
file(GLOB SOUND_RULES_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/sound_rules/*.cpp)
add_executable(kelvorin_sound_rules_tests ${SOUND_RULES_TEST_SOURCES}
  ${CMAKE_SOURCE_DIR}/src/assets/sound.cpp ${CMAKE_SOURCE_DIR}/src/assets/sound_list.cpp)
target_include_directories(kelvorin_sound_rules_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kelvorin_sound_rules_tests PRIVATE GTest::gtest GTest::gtest_main)
gtest_discover_tests(kelvorin_sound_rules_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)

# The offscreen edition's programs and the unit tests link neither SDL2 nor SDL2_mixer.
add_test(NAME offscreen_links_no_sdl COMMAND bash ${CMAKE_SOURCE_DIR}/tests/links_no_sdl.sh
  $<TARGET_FILE:kelvorin> $<TARGET_FILE:kelvorin-capture> $<TARGET_FILE:kelvorin-capture-gles>
  $<TARGET_FILE:kelvorin-bench> $<TARGET_FILE:kelvorin-bench-gles> $<TARGET_FILE:gl_probe>
  $<TARGET_FILE:kelvorin_tests>)
set_tests_properties(offscreen_links_no_sdl PROPERTIES TIMEOUT 60)

# The generated pictures and music, byte for byte: any change to the art or the mix must be
# deliberate. After one, record the new checksums from the build's Data/:
#   (cd build/Data && sha256sum *.bmp kelvorin.wav) > tests/generated_data.sha256
add_test(NAME generated_data_checksums
  COMMAND sha256sum --check --quiet --strict ${CMAKE_SOURCE_DIR}/tests/generated_data.sha256
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/Data)
set_tests_properties(generated_data_checksums PROPERTIES TIMEOUT 60)

# dist/zip.py, which packs the Windows and web zips, gives the same bytes on any machine.
add_test(NAME reproducible_zip COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/reproducible_zip.py)
set_tests_properties(reproducible_zip PROPERTIES TIMEOUT 60)

# docs/performance.md is what tools/bench/report.py writes from the figures in docs/bench/.
add_test(NAME performance_doc COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/performance_doc.py)
set_tests_properties(performance_doc PROPERTIES TIMEOUT 60)

# The floors of src/: every include points down (docs/architecture.md).
add_test(NAME structure COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/structure.py)
set_tests_properties(structure PROPERTIES TIMEOUT 60)

# The hardened build's programs carry the protections of Debian's packages (cmake/hardening.cmake).
# Control-flow protection is compiled in, but no Debian 12 program can be marked with it: the C
# library's start files (Scrt1.o, crti.o, crtn.o) carry no CET note, so the linker leaves it off.
if(KELVORIN_HARDENED)
  add_test(NAME hardening_check COMMAND hardening-check --nocfprotection
    $<TARGET_FILE:kelvorin> $<TARGET_FILE:kelvorin-capture>)
  set_tests_properties(hardening_check PROPERTIES TIMEOUT 60)
endif()

# End-to-end tests of the real programs: every tests/e2e/*.sh is one test. They find the build in
# $BUILD and the sources in $SRC; those that need a display start an X server of their own
# (tests/e2e/common.bash), so they may run beside each other. Each stops itself after E2E_LIMIT
# seconds and says what it was waiting for; the ctest limit is only the last resort.
file(GLOB E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.sh)
foreach(script ${E2E_SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e.${name} COMMAND bash ${script} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e.${name} PROPERTIES TIMEOUT 300
    ENVIRONMENT "BUILD=${CMAKE_BINARY_DIR};SRC=${CMAKE_SOURCE_DIR};E2E_LIMIT=240")
endforeach()

# The GL 1.1 layer on OpenGL ES against desktop OpenGL: gl_probe, built for both, draws what
# the layer offers beyond the demo's frames, and gles.probe compares the two pictures;
# e2e.gles_parity compares the demo's frames from both offline renderers. frame_diff compares
# two frames, or their edges (e2e.capture_master).
add_executable(frame_diff tests/gles/frame_diff.cpp)
target_link_libraries(frame_diff PRIVATE PkgConfig::PNG)
add_executable(gl_probe tests/gles/probe.cpp)
target_link_libraries(gl_probe PRIVATE kelvorin_offscreen kelvorin_png)
add_executable(gl_probe_gles tests/gles/probe.cpp)
target_link_libraries(gl_probe_gles PRIVATE kelvorin_offscreen_gles kelvorin_png)
add_test(NAME gles.probe COMMAND bash ${CMAKE_SOURCE_DIR}/tests/gles/probe.sh
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(gles.probe PROPERTIES TIMEOUT 120)

# Fuzz targets: tests/fuzz/*.cpp, built with clang's libFuzzer when clang is the compiler of
# the separate fuzz build that script/test makes.

# A small X client that finds, focuses and closes windows for the end-to-end tests.
find_package(X11)
if(X11_FOUND)
  add_executable(xwin tests/e2e/xwin.c)
  target_link_libraries(xwin PRIVATE ${X11_LIBRARIES} ${X11_Xfixes_LIB})
  target_include_directories(xwin PRIVATE ${X11_INCLUDE_DIR})
endif()

# Benchmarks: built with the tests, run by hand or by script/bench, never by ctest.
add_executable(scroller_bench tests/bench/scroller_bench.cpp)
target_link_libraries(scroller_bench PRIVATE kelvorin_offscreen)
