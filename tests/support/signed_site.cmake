# Throw-away keys for the tests of signed updates, made with the host's
# openssl when the build folder is configured, and the key source of the
# test builds that carry them:
#   KELVO_TEST_KEYS            folder with update-key.pem/.pub.pem, other-key.pem/.pub.pem
#   KELVO_TEST_KEY_SOURCE      defines BuiltInUpdateKey() as update-key.pub.pem
include_guard(GLOBAL)
include(${PROJECT_SOURCE_DIR}/cmake/KelvoUpdateKey.cmake)

find_program(KELVO_OPENSSL openssl REQUIRED)
set(KELVO_TEST_KEYS ${CMAKE_BINARY_DIR}/test-keys)
file(MAKE_DIRECTORY ${KELVO_TEST_KEYS})
foreach(key update-key other-key)
  if(NOT EXISTS ${KELVO_TEST_KEYS}/${key}.pub.pem)
    execute_process(COMMAND ${KELVO_OPENSSL} ecparam -name prime256v1 -genkey -noout
                            -out ${KELVO_TEST_KEYS}/${key}.pem COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${KELVO_OPENSSL} ec -in ${KELVO_TEST_KEYS}/${key}.pem -pubout
                            -out ${KELVO_TEST_KEYS}/${key}.pub.pem
                    ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
kelvo_update_key_source(KELVO_TEST_KEY_SOURCE kelvo_test_update_key
                        ${KELVO_TEST_KEYS}/update-key.pub.pem)
