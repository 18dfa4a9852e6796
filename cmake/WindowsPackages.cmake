# The two downloads of the Windows program, made from its installed folder:
#
#   cmake --build build-windows --target quendril_packages
#     build-windows/quendril-<version>-setup.exe          the setup program (makensis)
#     build-windows/quendril-<version>-windows-x64.zip    the same folder, to unpack anywhere
#     build-windows/SHA256SUMS                              their checksums (sha256sum -c SHA256SUMS)
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
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/quendril.nsi.in ${PROJECT_BINARY_DIR}/quendril.nsi @ONLY)

add_custom_target(quendril_packages
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_dir} ${setup_file} ${zip_file} ${PROJECT_BINARY_DIR}/SHA256SUMS
  COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${setup_files}
  COMMAND ${CMAKE_COMMAND} -DFILES=${setup_files} -DSTRIP=${CMAKE_STRIP} -DINSTALL_LIST=${setup_install_list}
    -DUNINSTALL_LIST=${setup_uninstall_list} -DZIP_LIST=${zip_list} -DEPOCH=${QUENDRIL_SOURCE_DATE_EPOCH}
    -P ${PROJECT_SOURCE_DIR}/cmake/WindowsPackageFolder.cmake
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QUENDRIL_SOURCE_DATE_EPOCH} ${MAKENSIS} -V2 -NOCD ${PROJECT_BINARY_DIR}/quendril.nsi
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir} ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QUENDRIL_SOURCE_DATE_EPOCH}
    ${CMAKE_COMMAND} -E tar cf ${zip_file} --format=zip --files-from=${zip_list}
  COMMAND ${CMAKE_COMMAND} -DFILES=${setup_file}$<SEMICOLON>${zip_file} -P ${PROJECT_SOURCE_DIR}/cmake/Checksums.cmake
  COMMENT "Making the setup program and the ZIP of the Windows program"
  VERBATIM)
add_dependencies(quendril_packages quendril)
