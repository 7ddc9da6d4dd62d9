# The programs beside the demo, a folder each: the offline renderer (capture/) and the
# benchmark (bench/) draw with the offscreen edition through kelvorin_offscreen, and their GLES
# twins through kelvorin_offscreen_gles; art/ and music/ generate the demo's pictures and music
# (assets.cmake). browser/ drives a headless Chromium for the benchmark and the browser tests.
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
find_package(Threads REQUIRED)

# The one PNG writer (png/): the offline renderer's frames, the icon and gl_probe's pictures.
add_library(kelvorin_png STATIC ${CMAKE_SOURCE_DIR}/tools/png/writer.cpp)
target_include_directories(kelvorin_png PUBLIC ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(kelvorin_png PRIVATE PkgConfig::PNG)

file(GLOB CAPTURE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/capture/*.cpp)
foreach(twin "" "-gles")
  string(REPLACE "-" "_" edition "kelvorin_offscreen${twin}")
  add_executable(kelvorin-capture${twin} ${CAPTURE_SOURCES})
  target_include_directories(kelvorin-capture${twin} PRIVATE ${CMAKE_SOURCE_DIR}/tools)
  target_link_libraries(kelvorin-capture${twin} PRIVATE ${edition} kelvorin_png Threads::Threads)
  add_executable(kelvorin-bench${twin} ${CMAKE_SOURCE_DIR}/tools/bench/main.cpp)
  target_link_libraries(kelvorin-bench${twin} PRIVATE ${edition})
endforeach()

# Generated assets: the pictures and the music, written into build/Data/ by our own generators.
include(${CMAKE_SOURCE_DIR}/tools/assets.cmake)

# The timeline as the browser edition's page reads it (the demo's length, its scenes, the
# chapters of its seek bar and the pictures' first use), from running the timeline itself:
# build/timeline.json.
set(TIMELINE_FILE ${CMAKE_BINARY_DIR}/timeline.json)
add_custom_command(OUTPUT ${TIMELINE_FILE}
  COMMAND kelvorin-capture --timeline --json > ${TIMELINE_FILE}.part
  COMMAND ${CMAKE_COMMAND} -E rename ${TIMELINE_FILE}.part ${TIMELINE_FILE}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS kelvorin-capture
  COMMENT "Running the timeline for its chapters")
add_custom_target(timeline ALL DEPENDS ${TIMELINE_FILE})
add_dependencies(timeline data)  # it plays from Data/; the target keeps data's rules its own
