# The Linux edition: an SDL2 window with a desktop OpenGL 1.1 context, SDL's keys as Windows
# virtual keys, message boxes and the music through SDL2_mixer; its program is kelvorin.
# kelvorin_linux is the portable demo with these backends, for kelvorin and for the tests of
# the backends themselves (tests/linux/).
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)

edition_sources(linux LINUX_SOURCES)
add_library(kelvorin_linux STATIC ${LINUX_SOURCES})
target_link_libraries(kelvorin_linux PUBLIC kelvorin_portable PkgConfig::SDL2 PkgConfig::SDL2_MIXER)

add_executable(kelvorin ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(kelvorin PRIVATE kelvorin_linux)
