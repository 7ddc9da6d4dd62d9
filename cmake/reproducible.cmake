# Builds that give the same bytes wherever the tree is: the compilers write paths below the
# source tree as relative ones (into debugging information and __FILE__, and so into the ELF
# Build ID computed over them), so that two checkouts at different paths make the same
# programs. script/release --check builds twice and compares. Times come from
# SOURCE_DATE_EPOCH where a tool stamps one (CPack, dist/zip.py); the Windows linker writes no
# time stamp (src/editions/windows/windows.cmake).
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
# A build folder outside the tree goes by its name alone. Of two maps that match, the last
# given wins.
string(FIND "${CMAKE_BINARY_DIR}/" "${CMAKE_SOURCE_DIR}/" inside)
if(NOT inside EQUAL 0)
  get_filename_component(build_name ${CMAKE_BINARY_DIR} NAME)
  add_compile_options(-ffile-prefix-map=${CMAKE_BINARY_DIR}=${build_name})
endif()
