# kelvo_add_http_test(<name> [PROXY] [OWN_SESSION] SOURCES <files...> LIBS <targets...>)
# Like kelvo_add_test, but run by tests/support/http_server.py beside a fresh
# loopback server (with PROXY also the HTTP proxy), Wine in front of it. With
# OWN_SESSION it runs in a Wine session of its own (label own-session), so
# the test command can run it beside the shared session's suites.
include_guard(GLOBAL)

function(kelvo_add_http_test name)
  cmake_parse_arguments(ARG "PROXY;OWN_SESSION" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set(proxy "")
  if(ARG_PROXY)
    set(proxy --proxy)
  endif()
  set(session "")
  if(ARG_OWN_SESSION)
    set(session ${PROJECT_SOURCE_DIR}/tests/support/own_wine_session)
  endif()
  add_test(NAME ${name}
           COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/support/http_server.py ${proxy} --
                   ${session} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>
                   --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(ARG_OWN_SESSION)
    set_tests_properties(${name} PROPERTIES LABELS own-session)
  endif()
endfunction()
