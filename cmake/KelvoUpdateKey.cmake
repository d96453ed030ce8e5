# kelvo_update_key_source(<out_var> <name> <pem_path>)
# Writes generated/<name>.cpp, which defines BuiltInUpdateKey() as the text
# of the PEM public key at <pem_path> (empty text when the path is empty),
# and stores its path in <out_var>. A file the program's PEM reader refuses
# stops the configure step, so a release cannot ship with a key it cannot use.
include_guard(GLOBAL)

# The host's compiler builds the checker from the program's own reader
# (a cross build cannot run what it compiles); rebuilt when that changes.
function(kelvo_update_key_checker out_var)
  set(checker ${CMAKE_BINARY_DIR}/host/kelvo-update-key-check)
  set(sources ${PROJECT_SOURCE_DIR}/cmake/update_key_check.cpp
              ${PROJECT_SOURCE_DIR}/net/signature_format.cpp ${PROJECT_SOURCE_DIR}/net/p256_curve.cpp)
  set(stale FALSE)
  foreach(source ${sources} ${PROJECT_SOURCE_DIR}/net/signature_format.h
                 ${PROJECT_SOURCE_DIR}/net/p256_curve.h)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    if(${source} IS_NEWER_THAN ${checker})
      set(stale TRUE)
    endif()
  endforeach()
  if(stale)
    find_program(KELVO_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/host)
    execute_process(COMMAND ${KELVO_HOST_CXX} -std=c++20 -O1 -I${PROJECT_SOURCE_DIR} ${sources}
                            -o ${checker} COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(${out_var} ${checker} PARENT_SCOPE)
endfunction()

function(kelvo_update_key_source out_var name pem_path)
  set(KELVO_UPDATE_KEY_PEM "")
  if(pem_path)
    if(NOT EXISTS "${pem_path}")
      message(FATAL_ERROR "KELVO_UPDATE_KEY: no file ${pem_path}")
    endif()
    file(READ "${pem_path}" KELVO_UPDATE_KEY_PEM)
    kelvo_update_key_checker(checker)
    execute_process(COMMAND ${checker} ${pem_path} RESULT_VARIABLE unusable)
    if(unusable)
      message(FATAL_ERROR "KELVO_UPDATE_KEY: ${pem_path} is not an ECDSA P-256 public key in PEM "
                          "that the program can use")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${pem_path}")
  endif()
  set(source ${CMAKE_BINARY_DIR}/generated/${name}.cpp)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/update_key.cpp.in ${source} @ONLY)
  set(${out_var} ${source} PARENT_SCOPE)
endfunction()
