# Gives one Windows program file, in place, its time-stamped Authenticode
# signature, in one of two ways:
#
#   cmake -DFILE=<file> -DSIGNATURE=<detached signature> -DOSSLSIGNCODE=<osslsigncode>
#         -DMODULE=<PKCS#11 module> -DKEY=<pkcs11: URI> -DCERTS=<certificate chain, PEM>
#         -DNAME=<program's name> -DURL=<maker's site>
#         ( -DTIMESTAMP_URL=<RFC 3161 service> | -DTSA_CERTS=<PEM> -DTSA_KEY=<PEM> [-DTSA_TIME=<seconds>] )
#         -P SignFile.cmake
#     signs it with the key that the module reaches, and writes its detached
#     signature to SIGNATURE;
#   cmake -DFILE=<file> -DSIGNATURE=<detached signature> -DOSSLSIGNCODE=<osslsigncode>
#         -DATTACH=ON [-DCAFILE=<roots, PEM>] -P SignFile.cmake
#     attaches that published signature instead, which osslsigncode accepts
#     only when it signs exactly this file and leads to a root in CAFILE
#     (else the system's).
#
# The token's PIN is read from the environment variable QUENDRIL_SIGN_PIN and
# handed to osslsigncode through a pipe: it appears on no command line and in
# no file. TSA_* stand in for a time-stamping service in the project's checks.
# Run while the Windows packages are made: on the program in their folder,
# and by makensis on the setup program and its uninstaller (!finalize,
# !uninstfinalize).
foreach(variable FILE SIGNATURE OSSLSIGNCODE)
  if(NOT DEFINED ${variable} OR "${${variable}}" STREQUAL "")
    message(FATAL_ERROR "SignFile.cmake: ${variable} is not given")
  endif()
endforeach()
set(signed "${FILE}.signed")
file(REMOVE "${signed}")

if(ATTACH)
  if(NOT EXISTS "${SIGNATURE}")
    message(FATAL_ERROR "No signature for ${FILE}: ${SIGNATURE} is missing")
  endif()
  set(roots "")
  if(CAFILE)
    set(roots -CAfile "${CAFILE}" -TSA-CAfile "${CAFILE}")
  endif()
  execute_process(
    COMMAND "${OSSLSIGNCODE}" attach-signature -sigin "${SIGNATURE}" ${roots} -in "${FILE}" -out "${signed}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    file(REMOVE "${signed}")
    if(NOT CAFILE)
      set(CAFILE "the system's certificates")
    endif()
    message(FATAL_ERROR "${SIGNATURE} does not sign ${FILE} (this build differs from the signed one), "
      "or its chain leads to no root in ${CAFILE}:\n${output}")
  endif()
  file(RENAME "${signed}" "${FILE}")
  return()
endif()

foreach(variable MODULE KEY CERTS NAME URL)
  if(NOT DEFINED ${variable} OR "${${variable}}" STREQUAL "")
    message(FATAL_ERROR "SignFile.cmake: ${variable} is not given")
  endif()
endforeach()
if(NOT DEFINED ENV{QUENDRIL_SIGN_PIN})
  message(FATAL_ERROR "SignFile.cmake: set QUENDRIL_SIGN_PIN to the PIN of ${KEY} (empty where the module asks none)")
endif()
if(TIMESTAMP_URL)
  set(timestamp -ts "${TIMESTAMP_URL}")
elseif(TSA_CERTS AND TSA_KEY)
  set(timestamp -TSA-certs "${TSA_CERTS}" -TSA-key "${TSA_KEY}")
  if(TSA_TIME)
    list(APPEND timestamp -TSA-time "${TSA_TIME}")
  endif()
else()
  message(FATAL_ERROR "SignFile.cmake: a signature without a time stamp would end with the certificate: "
    "give TIMESTAMP_URL (or TSA_CERTS and TSA_KEY)")
endif()
# sh's arguments: $0 osslsigncode, then its own arguments.
execute_process(
  COMMAND sh -c "printf '%s' \"$QUENDRIL_SIGN_PIN\" | \"$0\" \"$@\""
    "${OSSLSIGNCODE}" sign -pkcs11module "${MODULE}" -key "${KEY}" -certs "${CERTS}" -readpass /dev/stdin
    -h sha256 -n "${NAME}" -i "${URL}" ${timestamp} -in "${FILE}" -out "${signed}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  file(REMOVE "${signed}")
  message(FATAL_ERROR "osslsigncode could not sign ${FILE}:\n${output}")
endif()
get_filename_component(signature_folder "${SIGNATURE}" DIRECTORY)
file(MAKE_DIRECTORY "${signature_folder}")
file(REMOVE "${SIGNATURE}")
execute_process(
  COMMAND "${OSSLSIGNCODE}" extract-signature -in "${signed}" -out "${SIGNATURE}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  file(REMOVE "${signed}" "${SIGNATURE}")
  message(FATAL_ERROR "osslsigncode could not extract the signature of ${FILE}:\n${output}")
endif()
file(RENAME "${signed}" "${FILE}")
