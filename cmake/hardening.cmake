# The native Linux build is hardened the way Debian builds its packages: the programs read
# pictures and sounds that a user can replace. Stack protector, fortified C library calls
# (which need optimisation, so not in Debug), stack clash and control-flow protection,
# position-independent executables, read-only relocations and immediate binding. The sanitizer
# build instruments the same faults its own way and is left as it is.
#
# The Windows program, cross-compiled with MinGW-w64, gets the stack protector and the fortified
# calls too: both come from libssp, which the static link puts inside the program, so that it
# still needs no DLL beyond Windows' own. Its header asks for address space layout
# randomisation (with relocations kept), 64-bit high-entropy addresses and a non-executable
# stack and heap; binutils sets these by default since 2.36, and saying so keeps them when
# defaults change. The browser build skips this file.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$"
   AND NOT KELVORIN_SANITIZE)
  include(CheckCXXCompilerFlag)
  include(CheckPIESupported)
  add_compile_options(-fstack-protector-strong $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "HAVE${flag}" have)
    check_cxx_compiler_flag(${flag} ${have})
    if(${have})
      add_compile_options(${flag})
    endif()
  endforeach()
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
  set(KELVORIN_HARDENED ON)
endif()
if(MINGW AND NOT KELVORIN_SANITIZE)
  add_compile_options(-fstack-protector-strong $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-fstack-protector-strong LINKER:--dynamicbase,--high-entropy-va,--nxcompat)
  set(KELVORIN_HARDENED ON)
endif()
