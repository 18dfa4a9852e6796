# Writes SHA256SUMS beside the downloads, in the form `sha256sum -c SHA256SUMS`
# checks there. Run two ways:
#   cmake -DFILES=<file;...> -P Checksums.cmake    the files of one folder
#   as CPack's post-build script                  the packages CPack made,
#                                                 beside them in the folder
#                                                 CPack puts them in
if(NOT DEFINED FILES)
  set(FILES ${CPACK_PACKAGE_FILES})
  set(output_folder "${CPACK_PACKAGE_DIRECTORY}")
endif()
if(NOT FILES)
  message(FATAL_ERROR "Checksums.cmake: no files to sum")
endif()
set(sums "")
set(folder "")
foreach(file IN LISTS FILES)
  get_filename_component(file_folder "${file}" DIRECTORY)
  if(folder STREQUAL "")
    set(folder "${file_folder}")
  elseif(NOT folder STREQUAL file_folder)
    message(FATAL_ERROR "Checksums.cmake: ${file} is not in ${folder}")
  endif()
  file(SHA256 "${file}" sum)
  get_filename_component(name "${file}" NAME)
  string(APPEND sums "${sum}  ${name}\n")
endforeach()
if(NOT output_folder)
  set(output_folder "${folder}")
endif()
file(WRITE "${output_folder}/SHA256SUMS" "${sums}")
