# Signs one Windows program file in place with an Authenticode signature:
#
#   cmake -DFILE=<file> -DOSSLSIGNCODE=<osslsigncode> -DPKCS12=<certificate and key>
#         -DNAME=<program's name> -DURL=<maker's site> [-DTIMESTAMP_URL=<RFC 3161 service>]
#         -P SignFile.cmake
#
# The key's password is read from the environment variable
# QUENDRIL_SIGN_PASSWORD, and handed to osslsigncode through a pipe: it
# appears on no command line and in no file. Run while the Windows packages
# are made: on the program in their folder, and by makensis on the setup
# program and its uninstaller (!finalize, !uninstfinalize).
foreach(variable FILE OSSLSIGNCODE PKCS12 NAME URL)
  if(NOT DEFINED ${variable} OR "${${variable}}" STREQUAL "")
    message(FATAL_ERROR "SignFile.cmake: ${variable} is not given")
  endif()
endforeach()
if(NOT DEFINED ENV{QUENDRIL_SIGN_PASSWORD})
  message(FATAL_ERROR "SignFile.cmake: set QUENDRIL_SIGN_PASSWORD to the password of ${PKCS12}")
endif()

set(timestamp "")
if(TIMESTAMP_URL)
  set(timestamp -ts "${TIMESTAMP_URL}")
endif()
set(signed "${FILE}.signed")
file(REMOVE "${signed}")
# sh's arguments: $0 osslsigncode, then its own arguments.
execute_process(
  COMMAND sh -c "printf '%s' \"$QUENDRIL_SIGN_PASSWORD\" | \"$0\" \"$@\""
    "${OSSLSIGNCODE}" sign -pkcs12 "${PKCS12}" -readpass /dev/stdin -h sha256
    -n "${NAME}" -i "${URL}" ${timestamp} -in "${FILE}" -out "${signed}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  file(REMOVE "${signed}")
  message(FATAL_ERROR "osslsigncode could not sign ${FILE}:\n${output}")
endif()
file(RENAME "${signed}" "${FILE}")
