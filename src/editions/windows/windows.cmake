# The Windows edition, cross-compiled with MinGW-w64 (cmake/mingw-w64.cmake): kelvorin.exe from
# the portable demo, this folder's Win32 and winmm backends and its WinMain, linked statically
# so that it needs only Windows' own DLLs, with the demo's icon and its version information as
# resources. The pictures, the music and the icon come from the native build's generators
# (script/setup writes build/Data/ and build/kelvorin.png); this build copies the data beside
# the program, and dist/windows/ packs kelvorin-windows.zip.
set(KELVORIN_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH
  "The native build whose generators wrote Data/ (and whose xwin the Wine tests use)")
enable_language(RC)

# The icon in the sizes Explorer shows (ImageMagick writes the same bytes each time), and the
# resource script that names it.
set(KELVORIN_ICO ${CMAKE_BINARY_DIR}/kelvorin.ico)
add_custom_command(OUTPUT ${KELVORIN_ICO}
  COMMAND convert ${KELVORIN_NATIVE_BUILD}/kelvorin.png -define icon:auto-resize=256,48,32,16
          ${KELVORIN_ICO}
  DEPENDS ${KELVORIN_NATIVE_BUILD}/kelvorin.png
  COMMENT "Making the program's icon")
configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvorin.rc.in ${CMAKE_BINARY_DIR}/kelvorin.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/kelvorin.rc PROPERTIES OBJECT_DEPENDS ${KELVORIN_ICO})

edition_sources(windows WINDOWS_SOURCES)
add_executable(kelvorin WIN32 ${PORTABLE_SOURCES} ${WINDOWS_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_BINARY_DIR}/kelvorin.rc)
target_include_directories(kelvorin PRIVATE ${CMAKE_SOURCE_DIR}/src)
# Only the backends include windows.h, as on Linux only they include SDL or EGL: MinGW's GL/gl.h
# pulls windows.h in unless the names it needs are given, and windows.h defines macros
# (MB_OK, VK_ESCAPE) over the shell's own names for the same values.
set_source_files_properties(${PORTABLE_SOURCES} PROPERTIES
  COMPILE_DEFINITIONS "APIENTRY=__stdcall;WINGDIAPI=__declspec(dllimport);CALLBACK=__stdcall")
target_compile_definitions(kelvorin PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(kelvorin PRIVATE glu32 opengl32 gdi32 user32 winmm)
# Stripped (a third of the size), marked as a program that Remote Desktop need not shim, and
# without the link time in its header, so that the same sources give the same bytes
# (cmake/hardening.cmake adds the protections).
target_link_options(kelvorin PRIVATE -static -s LINKER:--tsaware,--no-insert-timestamp)

file(GLOB NATIVE_DATA CONFIGURE_DEPENDS ${KELVORIN_NATIVE_BUILD}/Data/*)
if(NOT NATIVE_DATA OR NOT EXISTS ${KELVORIN_NATIVE_BUILD}/kelvorin.png)
  message(FATAL_ERROR "No pictures, music or icon in ${KELVORIN_NATIVE_BUILD}: run script/setup first")
endif()
set(DATA_FILES)
set(DATA_NAMES)
foreach(source ${NATIVE_DATA})
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Data/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/Data/${name}
    DEPENDS ${source})
  list(APPEND DATA_FILES ${CMAKE_BINARY_DIR}/Data/${name})
  list(APPEND DATA_NAMES Data/${name})
endforeach()

include(${CMAKE_SOURCE_DIR}/dist/windows/zip.cmake)

enable_testing()
include(${CMAKE_SOURCE_DIR}/tests/wine/wine.cmake OPTIONAL)
