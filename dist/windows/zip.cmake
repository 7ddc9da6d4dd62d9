# kelvorin-windows.zip, beside kelvorin.exe in the Windows build: the program, Data/ and
# README.txt. Needs the target kelvorin, and DATA_FILES with their names in the zip, DATA_NAMES,
# from src/editions/windows/windows.cmake.

# Windows' own editors expect CRLF line breaks.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt ${CMAKE_BINARY_DIR}/README.txt
  @ONLY NEWLINE_STYLE CRLF)

set(ZIP ${CMAKE_BINARY_DIR}/kelvorin-windows.zip)
# The same files give the same zip (dist/zip.py). script/release packs it again, dated by the
# last commit.
add_custom_command(OUTPUT ${ZIP}
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/dist/zip.py ${ZIP} ${CMAKE_BINARY_DIR}
          kelvorin.exe README.txt ${DATA_NAMES}
  DEPENDS kelvorin ${DATA_FILES} ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_SOURCE_DIR}/dist/zip.py
  COMMENT "Packing kelvorin-windows.zip")
add_custom_target(zip ALL DEPENDS ${ZIP})
