# kelvo_add_http_test(<name> SOURCES <files...> LIBS <targets...>)
# Like kelvo_add_test, but the test runs beside a fresh loopback HTTP server
# (tests/support/with_http_server exports its port and folders). The wrapper
# is the command, so the Wine emulator is put in front of the test program
# here; CTest only adds it on its own when the command is a target name.
include_guard(GLOBAL)

function(kelvo_add_http_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with_http_server
                   ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}> --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
