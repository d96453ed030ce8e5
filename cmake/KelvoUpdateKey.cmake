# kelvo_update_key_source(<out_var> <name> <pem_path>)
# Writes generated/<name>.cpp, which defines BuiltInUpdateKey() as the text
# of the PEM public key at <pem_path> (empty text when the path is empty),
# and stores its path in <out_var>. A file that is not a P-256 public key in
# PEM stops the configure step, so a release cannot ship with a broken key.
include_guard(GLOBAL)

function(kelvo_update_key_source out_var name pem_path)
  set(KELVO_UPDATE_KEY_PEM "")
  if(pem_path)
    if(NOT EXISTS "${pem_path}")
      message(FATAL_ERROR "KELVO_UPDATE_KEY: no file ${pem_path}")
    endif()
    file(READ "${pem_path}" KELVO_UPDATE_KEY_PEM)
    # The DER of every P-256 SubjectPublicKeyInfo starts the same way.
    if(NOT KELVO_UPDATE_KEY_PEM MATCHES "-----BEGIN PUBLIC KEY-----[\r\n]+MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAE")
      message(FATAL_ERROR "KELVO_UPDATE_KEY: ${pem_path} is not an ECDSA P-256 public key in PEM")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${pem_path}")
  endif()
  set(source ${CMAKE_BINARY_DIR}/generated/${name}.cpp)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/update_key.cpp.in ${source} @ONLY)
  set(${out_var} ${source} PARENT_SCOPE)
endfunction()
