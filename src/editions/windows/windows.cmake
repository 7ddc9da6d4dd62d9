# The Windows edition, cross-compiled with MinGW-w64 (cmake/mingw-w64.cmake): kelvorin.exe from
# the portable demo, this folder's Win32 and winmm backends and its WinMain, linked statically
# so that it needs only Windows' own DLLs. The pictures and the music come from the native
# build's generators (script/setup writes build/Data/); this build copies them beside the
# program, and dist/windows/ packs kelvorin-windows.zip.
set(KELVORIN_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH
  "The native build whose generators wrote Data/ (and whose xwin the Wine tests use)")

edition_sources(windows WINDOWS_SOURCES)
add_executable(kelvorin WIN32 ${PORTABLE_SOURCES} ${WINDOWS_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_include_directories(kelvorin PRIVATE ${CMAKE_SOURCE_DIR}/src)
# Only the backends include windows.h, as on Linux only they include SDL or EGL: MinGW's GL/gl.h
# pulls windows.h in unless the names it needs are given, and windows.h defines macros
# (MB_OK, VK_ESCAPE) over the shell's own names for the same values.
set_source_files_properties(${PORTABLE_SOURCES} PROPERTIES
  COMPILE_DEFINITIONS "APIENTRY=__stdcall;WINGDIAPI=__declspec(dllimport);CALLBACK=__stdcall")
target_compile_definitions(kelvorin PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(kelvorin PRIVATE glu32 opengl32 gdi32 user32 winmm)
target_link_options(kelvorin PRIVATE -static)

file(GLOB NATIVE_DATA CONFIGURE_DEPENDS ${KELVORIN_NATIVE_BUILD}/Data/*)
if(NOT NATIVE_DATA)
  message(FATAL_ERROR "No pictures or music in ${KELVORIN_NATIVE_BUILD}/Data: run script/setup first")
endif()
set(DATA_FILES)
foreach(source ${NATIVE_DATA})
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Data/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/Data/${name}
    DEPENDS ${source})
  list(APPEND DATA_FILES ${CMAKE_BINARY_DIR}/Data/${name})
endforeach()

include(${CMAKE_SOURCE_DIR}/dist/windows/zip.cmake)

enable_testing()
include(${CMAKE_SOURCE_DIR}/tests/wine/wine.cmake OPTIONAL)
