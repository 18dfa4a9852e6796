# The two downloads of the Windows program, made from its installed folder:
#
#   cmake --build build-windows --target quendril_packages
#     build-windows/quendril-<version>-setup.exe          the setup program (makensis)
#     build-windows/quendril-<version>-windows-x64.zip    the same folder, to unpack anywhere
#     build-windows/qt6-base_*                              Qt's source, as Debian publishes it
#     build-windows/SHA256SUMS                              their checksums (sha256sum -c SHA256SUMS)
#
# Configured with -DQUENDRIL_SIGN_PKCS12=<file> (a code-signing certificate
# with its key, kept outside the sources), the program and its libraries, the
# setup program and the uninstaller it writes are signed
# (cmake/SignFile.cmake); the key's
# password comes from the environment variable QUENDRIL_SIGN_PASSWORD when
# the packages are made. Unsigned, every file is as reproducible as signed
# once its signature is removed: the program files are padded and
# checksummed ahead for a signature (cmake/pe_signable.py).
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

set(QUENDRIL_SIGN_PKCS12 "" CACHE FILEPATH
  "PKCS#12 file with the certificate and key the Windows packages are signed with; empty: nothing is signed")
set(QUENDRIL_SIGN_TIMESTAMP_URL "" CACHE STRING
  "RFC 3161 time-stamping service for the signatures; empty: not time-stamped")
set(sign_script "")
set(setup_signing "")
if(QUENDRIL_SIGN_PKCS12)
  find_program(OSSLSIGNCODE osslsigncode)
  if(NOT OSSLSIGNCODE)
    message(FATAL_ERROR "Signing needs osslsigncode (Debian package osslsigncode).")
  endif()
  if(NOT EXISTS "${QUENDRIL_SIGN_PKCS12}")
    message(FATAL_ERROR "QUENDRIL_SIGN_PKCS12: there is no ${QUENDRIL_SIGN_PKCS12}")
  endif()
  cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${QUENDRIL_SIGN_PKCS12}" NORMALIZE key_in_sources)
  if(key_in_sources)
    message(FATAL_ERROR "QUENDRIL_SIGN_PKCS12: keep the certificate and its key outside the sources")
  endif()
  set(sign_script ${PROJECT_BINARY_DIR}/sign-file.cmake)
  file(CONFIGURE OUTPUT ${sign_script} @ONLY CONTENT [=[
set(OSSLSIGNCODE [[@OSSLSIGNCODE@]])
set(PKCS12 [[@QUENDRIL_SIGN_PKCS12@]])
set(TIMESTAMP_URL [[@QUENDRIL_SIGN_TIMESTAMP_URL@]])
set(NAME [[@QUENDRIL_TITLE@]])
set(URL [[@QUENDRIL_SITE_ROOT@]])
include([[@PROJECT_SOURCE_DIR@/cmake/SignFile.cmake]])
]=])
  # makensis runs these on the file it has just written, %1.
  set(sign_command "\"${CMAKE_COMMAND}\" -DFILE=\"%1\" -P \"${sign_script}\"")
  set(setup_signing "!finalize '${sign_command}' = 0\n!uninstfinalize '${sign_command}' = 0\n")
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
  COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${setup_files}
  COMMAND ${CMAKE_COMMAND} -DFILES=${setup_files} -DSTRIP=${CMAKE_STRIP} -DINSTALL_LIST=${setup_install_list}
    -DUNINSTALL_LIST=${setup_uninstall_list} -DZIP_LIST=${zip_list} -DEPOCH=${QUENDRIL_SOURCE_DATE_EPOCH}
    -DPYTHON=${Python3_EXECUTABLE} -DSIGNABLE=${PROJECT_SOURCE_DIR}/cmake/pe_signable.py -DSIGN_SCRIPT=${sign_script}
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
