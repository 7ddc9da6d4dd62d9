# kelvorin-windows.zip, beside kelvorin.exe in the Windows build: the program, Data/ and
# README.txt. Needs the target kelvorin and DATA_FILES from src/editions/windows/windows.cmake.

# Windows' own editors expect CRLF line breaks.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt ${CMAKE_BINARY_DIR}/README.txt
  @ONLY NEWLINE_STYLE CRLF)

set(ZIP ${CMAKE_BINARY_DIR}/kelvorin-windows.zip)
add_custom_command(OUTPUT ${ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip kelvorin.exe Data README.txt
  DEPENDS kelvorin ${DATA_FILES} ${CMAKE_BINARY_DIR}/README.txt
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing kelvorin-windows.zip")
add_custom_target(zip ALL DEPENDS ${ZIP})
