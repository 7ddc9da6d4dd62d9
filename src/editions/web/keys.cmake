# The browser edition's key map alone, as a library: plain C++ that the web build compiles with
# the rest of the edition and the native tests check (tests/keys_web_test.cpp).
if(NOT TARGET kelvorin_web_keys)
  add_library(kelvorin_web_keys STATIC ${CMAKE_CURRENT_LIST_DIR}/keys_web.cpp)
  target_include_directories(kelvorin_web_keys PUBLIC ${CMAKE_SOURCE_DIR}/src)
endif()
