# kelvo_add_http_test(<name> [PROXY] SOURCES <files...> LIBS <targets...>)
# Like kelvo_add_test, but run by tests/support/http_server.py beside a fresh
# loopback server (with PROXY also the HTTP proxy), Wine in front of it.
include_guard(GLOBAL)

function(kelvo_add_http_test name)
  cmake_parse_arguments(ARG "PROXY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set(proxy "")
  if(ARG_PROXY)
    set(proxy --proxy)
  endif()
  add_test(NAME ${name}
           COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/support/http_server.py ${proxy} --
                   ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}> --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
