# The licence texts and notices of everything the Windows program's folder
# ships, made from the sources that were built, installed into licenses/:
#
#   NOTICE.txt          what each shipped file is and its licence, that Qt is
#                       used under the LGPL, and where Qt's source is
#   LGPL-3.0.txt, GPL-3.0.txt   Qt's licence, from Qt's own source
#   Qt-components.txt   what Qt compiled into each shipped library, as its
#                       build read it (cmake/qt_notices.py)
#   <package>.txt       the copyright file of each Debian package that a
#                       compiler runtime library comes from
#
# QUENDRIL_QT_SOURCE_PACKAGE lists Qt's source package, which the
# packages target publishes beside the downloads.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
get_filename_component(qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
set(qt_kept ${qt_prefix}/share/quendril-qt-source)
if(NOT IS_DIRECTORY ${qt_kept}/read)
  message(FATAL_ERROR "Qt for Windows in ${qt_prefix} keeps no record of its sources: "
    "build it again with scripts/build-qt-windows.sh")
endif()
set(notices ${PROJECT_BINARY_DIR}/licenses)
file(MAKE_DIRECTORY ${notices})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/qt_notices.py ${PROJECT_SOURCE_DIR}/packaging/windows/NOTICE.txt.in)

# Qt's targets as its own build names them: Qt6::Core is Core.
set(qt_targets "")
set(shipped_files "")
foreach(target IN LISTS QUENDRIL_WINDOWS_QT_LIBRARIES)
  string(REPLACE "Qt6::" "" name ${target})
  list(APPEND qt_targets ${name})
  string(APPEND shipped_files "$<TARGET_FILE_NAME:${target}>: Qt's ${name} library, LGPL-3.0-only (LGPL-3.0.txt), holding what Qt-components.txt lists\n")
endforeach()
set(plugins ${QUENDRIL_WINDOWS_QT_PLUGINS})
while(plugins)
  list(POP_FRONT plugins folder plugin)
  string(REPLACE "Qt6::" "" name ${plugin})
  list(APPEND qt_targets ${name})
  string(APPEND shipped_files "${folder}/$<TARGET_FILE_NAME:${plugin}>: Qt's ${name}, LGPL-3.0-only (LGPL-3.0.txt), holding what Qt-components.txt lists\n")
endwhile()
execute_process(
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/qt_notices.py write ${qt_kept} ${notices}/Qt-components.txt
    ${qt_targets}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The notices of Qt's libraries could not be made")
endif()
foreach(licence LGPL-3.0 GPL-3.0)
  configure_file(${qt_kept}/tree/LICENSES/${licence}-only.txt ${notices}/${licence}.txt COPYONLY)
endforeach()

# The compiler's runtime: each library's Debian package, and its copyright file.
foreach(library IN LISTS QUENDRIL_WINDOWS_COMPILER_RUNTIME)
  get_filename_component(real ${library} REALPATH)
  get_filename_component(name ${library} NAME)
  execute_process(COMMAND dpkg-query -S ${real} OUTPUT_VARIABLE owner RESULT_VARIABLE status ERROR_QUIET)
  string(REGEX REPLACE ":.*" "" package "${owner}")
  if(NOT status EQUAL 0 OR NOT EXISTS /usr/share/doc/${package}/copyright)
    message(FATAL_ERROR "No Debian package with a copyright file owns ${real}, so ${name} would ship without its notice")
  endif()
  execute_process(COMMAND dpkg-query -W "-f=\${Version}" ${package} OUTPUT_VARIABLE version)
  configure_file(/usr/share/doc/${package}/copyright ${notices}/${package}.txt COPYONLY)
  string(APPEND shipped_files
    "${name}: the compiler's runtime, from Debian's ${package} ${version}; its copyright and licences: ${package}.txt\n")
endforeach()
string(PREPEND shipped_files "$<TARGET_FILE_NAME:quendril>: ${QUENDRIL_TITLE}, all rights held by ${QUENDRIL_SITE_ROOT}\n")

file(GLOB QUENDRIL_QT_SOURCE_PACKAGE ${qt_kept}/package/*)
list(SORT QUENDRIL_QT_SOURCE_PACKAGE)
set(qt_package_files "")
foreach(file IN LISTS QUENDRIL_QT_SOURCE_PACKAGE)
  get_filename_component(name ${file} NAME)
  list(APPEND qt_package_files "  ${name}")
  if(name MATCHES "^qt6-base_(.*)\\.dsc$")
    set(qt_package_version ${CMAKE_MATCH_1})
  endif()
endforeach()
list(JOIN qt_package_files "\n" qt_package_files)
file(STRINGS ${qt_kept}/options.txt qt_option_lines)
list(TRANSFORM qt_option_lines PREPEND "  ")
list(JOIN qt_option_lines "\n" qt_options)
set(qt_version ${Qt6_VERSION})
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/NOTICE.txt.in ${notices}/NOTICE.txt.in @ONLY)
file(GENERATE OUTPUT ${notices}/NOTICE.txt INPUT ${notices}/NOTICE.txt.in NEWLINE_STYLE CRLF)
install(DIRECTORY ${notices}/ DESTINATION licenses FILES_MATCHING PATTERN "*.txt")
