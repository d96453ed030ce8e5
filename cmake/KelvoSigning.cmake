# kelvo_signing_env(<out_var> <pkcs12> <password_file>)
# The environment scripts/sign-file signs with, as `cmake -E env` arguments:
# the certificate, the password's file (empty: sign-file takes
# KELVO_SIGN_PASSWORD from the build's own environment), the optional
# time-stamp server and the maker's web address. The password itself is
# never a CMake value, so it is neither cached nor written into a build file.

set(KELVO_SIGN_COMMAND ${PROJECT_SOURCE_DIR}/scripts/sign-file)

function(kelvo_signing_env out_var pkcs12 password_file)
  set(${out_var} ${CMAKE_COMMAND} -E env KELVO_SIGN_PKCS12=${pkcs12}
      KELVO_SIGN_PASSWORD_FILE=${password_file} KELVO_SIGN_TIMESTAMP_URL=${KELVO_SIGN_TIMESTAMP_URL}
      KELVO_SIGN_URL=${KELVO_SIGN_URL} PARENT_SCOPE)
endfunction()
