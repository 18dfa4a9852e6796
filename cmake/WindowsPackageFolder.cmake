# Run by the quendril_packages target (cmake -P) on the installed folder
# FILES: strips its programs and libraries with STRIP (the compiler's C++
# runtime comes with its debugging information), gives every time stamp in
# them the build's date (EPOCH) and readies them for a signature with the
# script SIGNABLE, run by PYTHON; signs them, or attaches their published
# signatures, with the script SIGN_SCRIPT where one is given, each signature
# under SIGNATURES laid out as the ZIP lays out the files
# (<folder>/<file>.p7s); then writes the setup
# program's lists of what to copy (INSTALL_LIST) and of what its uninstaller
# removes (UNINSTALL_LIST): exactly those files, then each folder the setup
# made, deepest first, where it is left empty. The ZIP's list (ZIP_LIST)
# names the files in a fixed order, from the folder above FILES, and every
# file and folder takes the build's date (EPOCH), which the setup program
# and the ZIP record.
file(GLOB_RECURSE binaries ${FILES}/*.exe ${FILES}/*.dll)
foreach(binary IN LISTS binaries)
  execute_process(COMMAND ${STRIP} --strip-unneeded ${binary} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${STRIP} could not strip ${binary}")
  endif()
endforeach()
execute_process(COMMAND ${PYTHON} ${SIGNABLE} ${EPOCH} ${binaries} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SIGNABLE} could not ready the program files for a signature")
endif()
if(SIGN_SCRIPT)
  get_filename_component(top "${FILES}" NAME)
  foreach(binary IN LISTS binaries)
    file(RELATIVE_PATH name ${FILES} ${binary})
    execute_process(COMMAND ${CMAKE_COMMAND} -DFILE=${binary} -DSIGNATURE=${SIGNATURES}/${top}/${name}.p7s
      -P ${SIGN_SCRIPT} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${binary} could not be signed")
    endif()
  endforeach()
endif()

file(GLOB_RECURSE files RELATIVE ${FILES} ${FILES}/*)
list(SORT files)
set(install "")
set(uninstall "")
set(folders "")
set(current_folder "-")
foreach(file IN LISTS files)
  get_filename_component(folder "${file}" DIRECTORY)
  string(REPLACE "/" "\\" windows_file "${file}")
  string(REPLACE "/" "\\" windows_folder "${folder}")
  if(NOT folder STREQUAL current_folder)
    set(current_folder "${folder}")
    if(folder STREQUAL "")
      string(APPEND install "SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND install "SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
      list(APPEND folders "${windows_folder}")
    endif()
  endif()
  string(APPEND install "File \"${FILES}/${file}\"\n")
  string(APPEND uninstall "Delete \"$INSTDIR\\${windows_file}\"\n")
endforeach()
list(REMOVE_DUPLICATES folders)
list(SORT folders)
list(REVERSE folders)
foreach(folder IN LISTS folders)
  string(APPEND uninstall "RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
file(WRITE ${INSTALL_LIST} "${install}")
file(WRITE ${UNINSTALL_LIST} "${uninstall}")

get_filename_component(top "${FILES}" NAME)
list(TRANSFORM files PREPEND "${top}/")
list(JOIN files "\n" zip_list)
file(WRITE ${ZIP_LIST} "${zip_list}\n")

file(GLOB_RECURSE entries LIST_DIRECTORIES true ${FILES}/*)
execute_process(COMMAND touch -h -d @${EPOCH} ${FILES} ${entries} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "touch could not date the files in ${FILES}")
endif()
