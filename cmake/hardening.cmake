# The native Linux build is hardened the way Debian builds its packages: the programs read
# pictures and sounds that a user can replace. Stack protector, fortified C library calls
# (which need optimisation, so not in Debug), stack clash and control-flow protection,
# position-independent executables, read-only relocations and immediate binding. The sanitizer
# build instruments the same faults its own way and is left as it is; other platforms' builds
# skip this file.
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
