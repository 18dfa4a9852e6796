# The two downloads of the Windows program, made from its installed folder:
#
#   cmake --build build-windows --target quendril_packages
#     build-windows/quendril-<version>-setup.exe          the setup program (makensis)
#     build-windows/quendril-<version>-windows-x64.zip    the same folder, to unpack anywhere
#     build-windows/qt6-base_*                              Qt's source, as Debian publishes it
#     build-windows/SHA256SUMS                              their checksums (sha256sum -c SHA256SUMS)
#     build-windows/quendril-<version>-signatures/          signed: each file's detached signature
#
# Configured with -DQUENDRIL_SIGN_KEY=<pkcs11: URI> (with its module and
# certificates, kept outside the sources, and a time-stamp service), the
# program and its libraries, the setup program and the uninstaller it writes
# are signed and time-stamped (cmake/SignFile.cmake), the PIN coming from the
# environment variable QUENDRIL_SIGN_PIN, and their detached signatures are
# written beside the downloads. Configured with
# -DQUENDRIL_ATTACH_SIGNATURES=<folder> instead, a build of the same commit
# attaches those published signatures and gives the same signed files, bit
# for bit: every program file is padded and checksummed ahead for a
# signature (cmake/pe_signable.py). docs/signing.md tells makers and
# checkers how.
find_program(MAKENSIS makensis)
if(NOT MAKENSIS)
  message(STATUS "makensis (Debian package nsis) not found: no setup program (target quendril_packages)")
  return()
endif()

set(package_dir ${PROJECT_BINARY_DIR}/package)
set(setup_files ${package_dir}/${QUENDRIL_TITLE})
set(setup_file ${PROJECT_BINARY_DIR}/quendril-${PROJECT_VERSION}-setup.exe)
set(zip_file ${PROJECT_BINARY_DIR}/quendril-${PROJECT_VERSION}-windows-x64.zip)
set(setup_install_list ${package_dir}/install-files.nsh)
set(setup_uninstall_list ${package_dir}/uninstall-files.nsh)
set(zip_list ${package_dir}/zip-files.txt)
set(icon_file ${PROJECT_BINARY_DIR}/src/app/rendered/quendril.ico)

find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND)
  message(STATUS "python3 (Debian package python3) not found: no setup program (target quendril_packages)")
  return()
endif()

# Signing (docs/signing.md): through a PKCS#11 module, always time-stamped,
# or, instead, attaching a release's published signatures.
set(QUENDRIL_SIGN_KEY "" CACHE STRING
  "pkcs11: URI of the code-signing key the Windows packages are signed with; empty: nothing is signed")
set(QUENDRIL_SIGN_PKCS11_MODULE "" CACHE FILEPATH
  "PKCS#11 module of the token, HSM or signing service that holds the key")
set(QUENDRIL_SIGN_CERTS "" CACHE FILEPATH
  "The key's certificate and those of its issuers, PEM")
set(QUENDRIL_SIGN_TIMESTAMP_URL "" CACHE STRING
  "RFC 3161 time-stamping service for the signatures")
set(QUENDRIL_CHECK_TSA_CERTS "" CACHE FILEPATH
  "For the project's checks only: a local time-stamping authority's certificate, PEM, in place of a service")
set(QUENDRIL_CHECK_TSA_KEY "" CACHE FILEPATH
  "For the project's checks only: that authority's key, PEM")
set(QUENDRIL_CHECK_TSA_TIME "" CACHE STRING
  "For the project's checks only: the time its stamps give, in seconds since 1970; empty: when signed")
set(QUENDRIL_ATTACH_SIGNATURES "" CACHE PATH
  "Folder of a release's published signatures, attached instead of signing")
set(QUENDRIL_ATTACH_CAFILE "" CACHE FILEPATH
  "Root certificates, PEM, that the attached signatures and their time stamps lead to; empty: the system's")
# Where signing writes the detached signatures, to be published beside the downloads.
set(signatures_dir ${PROJECT_BINARY_DIR}/quendril-${PROJECT_VERSION}-signatures)
set(sign_script "")
set(setup_signing "")
set(signatures "")
if(QUENDRIL_SIGN_PKCS12)
  message(FATAL_ERROR "QUENDRIL_SIGN_PKCS12: signing goes through a PKCS#11 module now (docs/signing.md); "
    "configure with -DQUENDRIL_SIGN_PKCS12=")
endif()
if(QUENDRIL_SIGN_KEY AND QUENDRIL_ATTACH_SIGNATURES)
  message(FATAL_ERROR "QUENDRIL_SIGN_KEY and QUENDRIL_ATTACH_SIGNATURES: sign, or attach published signatures, not both")
endif()
if(QUENDRIL_SIGN_KEY OR QUENDRIL_ATTACH_SIGNATURES)
  find_program(OSSLSIGNCODE osslsigncode)
  if(NOT OSSLSIGNCODE)
    message(FATAL_ERROR "Signing needs osslsigncode (Debian package osslsigncode).")
  endif()
  set(sign_script ${PROJECT_BINARY_DIR}/sign-file.cmake)
endif()
if(QUENDRIL_SIGN_KEY)
  if(NOT QUENDRIL_SIGN_KEY MATCHES "^pkcs11:")
    message(FATAL_ERROR "QUENDRIL_SIGN_KEY: give the key as a pkcs11: URI, such as pkcs11:token=NAME;object=LABEL")
  endif()
  if(NOT QUENDRIL_SIGN_PKCS11_MODULE OR NOT QUENDRIL_SIGN_CERTS)
    message(FATAL_ERROR "QUENDRIL_SIGN_KEY: give its module (QUENDRIL_SIGN_PKCS11_MODULE) and certificates (QUENDRIL_SIGN_CERTS)")
  endif()
  foreach(setting QUENDRIL_SIGN_PKCS11_MODULE QUENDRIL_SIGN_CERTS QUENDRIL_CHECK_TSA_CERTS QUENDRIL_CHECK_TSA_KEY)
    if(NOT ${setting})
      continue()
    endif()
    if(NOT EXISTS "${${setting}}")
      message(FATAL_ERROR "${setting}: there is no ${${setting}}")
    endif()
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${${setting}}" NORMALIZE in_sources)
    if(in_sources)
      message(FATAL_ERROR "${setting}: keep the signing module, certificates and keys outside the sources")
    endif()
  endforeach()
  set(local_tsa OFF)
  if(QUENDRIL_CHECK_TSA_CERTS OR QUENDRIL_CHECK_TSA_KEY)
    if(NOT QUENDRIL_CHECK_TSA_CERTS OR NOT QUENDRIL_CHECK_TSA_KEY)
      message(FATAL_ERROR "QUENDRIL_CHECK_TSA_CERTS and QUENDRIL_CHECK_TSA_KEY go together")
    endif()
    set(local_tsa ON)
  endif()
  if(local_tsa AND QUENDRIL_SIGN_TIMESTAMP_URL)
    message(FATAL_ERROR "QUENDRIL_SIGN_TIMESTAMP_URL and QUENDRIL_CHECK_TSA_*: one time-stamp source, not two")
  endif()
  # A signature without a time stamp becomes invalid when its certificate expires.
  if(NOT local_tsa AND NOT QUENDRIL_SIGN_TIMESTAMP_URL)
    message(FATAL_ERROR "QUENDRIL_SIGN_KEY: a release's signatures are time-stamped: "
      "give QUENDRIL_SIGN_TIMESTAMP_URL, the RFC 3161 service of the certificate's issuer")
  endif()
  # osslsigncode reaches the module through OpenSSL's pkcs11 engine.
  find_program(OPENSSL openssl)
  if(OPENSSL)
    execute_process(COMMAND ${OPENSSL} engine -t pkcs11 RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "Signing through PKCS#11 needs OpenSSL's pkcs11 engine (Debian package libengine-pkcs11-openssl).")
    endif()
  endif()
  set(signatures ${signatures_dir})
  file(CONFIGURE OUTPUT ${sign_script} @ONLY CONTENT [=[
set(OSSLSIGNCODE [[@OSSLSIGNCODE@]])
set(MODULE [[@QUENDRIL_SIGN_PKCS11_MODULE@]])
set(KEY [[@QUENDRIL_SIGN_KEY@]])
set(CERTS [[@QUENDRIL_SIGN_CERTS@]])
set(TIMESTAMP_URL [[@QUENDRIL_SIGN_TIMESTAMP_URL@]])
set(TSA_CERTS [[@QUENDRIL_CHECK_TSA_CERTS@]])
set(TSA_KEY [[@QUENDRIL_CHECK_TSA_KEY@]])
set(TSA_TIME [[@QUENDRIL_CHECK_TSA_TIME@]])
set(NAME [[@QUENDRIL_TITLE@]])
set(URL [[@QUENDRIL_SITE_ROOT@]])
include([[@PROJECT_SOURCE_DIR@/cmake/SignFile.cmake]])
]=])
elseif(QUENDRIL_ATTACH_SIGNATURES)
  if(NOT IS_DIRECTORY "${QUENDRIL_ATTACH_SIGNATURES}")
    message(FATAL_ERROR "QUENDRIL_ATTACH_SIGNATURES: there is no folder ${QUENDRIL_ATTACH_SIGNATURES}")
  endif()
  set(signatures ${QUENDRIL_ATTACH_SIGNATURES})
  file(CONFIGURE OUTPUT ${sign_script} @ONLY CONTENT [=[
set(OSSLSIGNCODE [[@OSSLSIGNCODE@]])
set(ATTACH ON)
set(CAFILE [[@QUENDRIL_ATTACH_CAFILE@]])
include([[@PROJECT_SOURCE_DIR@/cmake/SignFile.cmake]])
]=])
endif()
# A new build's signatures replace the last one's; published ones are kept.
set(written_signatures ${signatures_dir})
if(QUENDRIL_ATTACH_SIGNATURES)
  set(written_signatures "")
endif()
if(sign_script)
  # makensis runs these on the file it has just written, %1; the
  # uninstaller's signature is named after the file the setup program
  # installs (UNINSTALLER in the script).
  get_filename_component(setup_name ${setup_file} NAME)
  set(sign_command "\"${CMAKE_COMMAND}\" -DFILE=\"%1\" -DSIGNATURE=\"${signatures}")
  set(run_script "\" -P \"${sign_script}\"")
  string(CONCAT setup_signing
    "!finalize '${sign_command}/${setup_name}.p7s${run_script}' = 0\n"
    "!uninstfinalize '${sign_command}/\${UNINSTALLER}.p7s${run_script}' = 0\n")
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/quendril.nsi.in ${PROJECT_BINARY_DIR}/quendril.nsi @ONLY)

# Qt's source is published beside the downloads (cmake/WindowsNotices.cmake).
set(downloads ${setup_file} ${zip_file})
foreach(file IN LISTS QUENDRIL_QT_SOURCE_PACKAGE)
  get_filename_component(name ${file} NAME)
  list(APPEND downloads ${PROJECT_BINARY_DIR}/${name})
endforeach()
list(JOIN downloads "$<SEMICOLON>" downloads)

add_custom_target(quendril_packages
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_dir} ${setup_file} ${zip_file} ${PROJECT_BINARY_DIR}/SHA256SUMS
    ${written_signatures}
  COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${setup_files}
  COMMAND ${CMAKE_COMMAND} -DFILES=${setup_files} -DSTRIP=${CMAKE_STRIP} -DINSTALL_LIST=${setup_install_list}
    -DUNINSTALL_LIST=${setup_uninstall_list} -DZIP_LIST=${zip_list} -DEPOCH=${QUENDRIL_SOURCE_DATE_EPOCH}
    -DPYTHON=${Python3_EXECUTABLE} -DSIGNABLE=${PROJECT_SOURCE_DIR}/cmake/pe_signable.py -DSIGN_SCRIPT=${sign_script}
    -DSIGNATURES=${signatures}
    -P ${PROJECT_SOURCE_DIR}/cmake/WindowsPackageFolder.cmake
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QUENDRIL_SOURCE_DATE_EPOCH} ${MAKENSIS} -V2 -NOCD ${PROJECT_BINARY_DIR}/quendril.nsi
  # A ZIP records its files' times as local times: in UTC they are the same everywhere.
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir} ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QUENDRIL_SOURCE_DATE_EPOCH} TZ=UTC0
    ${CMAKE_COMMAND} -E tar cf ${zip_file} --format=zip --files-from=${zip_list}
  COMMAND ${CMAKE_COMMAND} -E copy ${QUENDRIL_QT_SOURCE_PACKAGE} ${PROJECT_BINARY_DIR}/
  COMMAND ${CMAKE_COMMAND} -DFILES=${downloads} -P ${PROJECT_SOURCE_DIR}/cmake/Checksums.cmake
  COMMENT "Making the setup program and the ZIP of the Windows program"
  VERBATIM)
add_dependencies(quendril_packages quendril)
