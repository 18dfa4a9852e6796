# The same sources give the same files, wherever and whenever they are built.
#
# QUENDRIL_SOURCE_DATE_EPOCH is the build's one date, in seconds since 1970:
# SOURCE_DATE_EPOCH from the environment when the caller sets one, else the
# time of the commit that is built, else midnight UTC of QUENDRIL_RELEASE_DATE.
# Every time the build embeds is this one: Qt's resources, the file times in
# the Debian package, the ZIP and the setup program.

# Seconds since 1970 of a YYYY-MM-DD date at midnight UTC (days from the civil
# date, in the proleptic Gregorian calendar).
function(quendril_date_epoch out date)
  if(NOT date MATCHES "^([0-9][0-9][0-9][0-9])-(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])$")
    message(FATAL_ERROR "A date must read YYYY-MM-DD, not \"${date}\"")
  endif()
  # Taken before the replacements below, which set CMAKE_MATCH_<n> anew.
  set(y ${CMAKE_MATCH_1})
  set(month ${CMAKE_MATCH_2})
  set(day ${CMAKE_MATCH_3})
  string(REGEX REPLACE "^0" "" m "${month}")
  string(REGEX REPLACE "^0" "" d "${day}")
  if(m LESS_EQUAL 2)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR era "${y} / 400")
  math(EXPR yoe "${y} - ${era} * 400")
  math(EXPR mp "(${m} + 9) % 12")
  math(EXPR doy "(153 * ${mp} + 2) / 5 + ${d} - 1")
  math(EXPR doe "${yoe} * 365 + ${yoe} / 4 - ${yoe} / 100 + ${doy}")
  math(EXPR days "${era} * 146097 + ${doe} - 719468")
  math(EXPR seconds "${days} * 86400")
  set(${out} ${seconds} PARENT_SCOPE)
endfunction()

if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
  set(epoch_origin "SOURCE_DATE_EPOCH")
else()
  find_package(Git QUIET)
  set(epoch "")
  if(Git_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      set(epoch "")
    endif()
  endif()
  set(epoch_origin "the commit's time")
  if(epoch STREQUAL "")
    quendril_date_epoch(epoch "${QUENDRIL_RELEASE_DATE}")
    set(epoch_origin "the release date")
  endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be a number of seconds, not \"${epoch}\"")
endif()
set(QUENDRIL_SOURCE_DATE_EPOCH ${epoch})
message(STATUS "The build's date: ${QUENDRIL_SOURCE_DATE_EPOCH} (${epoch_origin})")

# Every tool that a custom command runs sees the date: Qt's resource compiler
# takes it for the files' times in place of their modification times.
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
  "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QUENDRIL_SOURCE_DATE_EPOCH}")

# No build folder in any output: the source and build folders are written as
# relative ones in debugging information and in __FILE__.
if(NOT MSVC)
  add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=")
  cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${PROJECT_BINARY_DIR}" NORMALIZE binary_inside_source)
  if(NOT binary_inside_source)
    add_compile_options("-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")
  endif()
endif()

# A Windows program's header carries no link time.
if(WIN32 AND NOT MSVC)
  add_link_options(LINKER:--no-insert-timestamp)
endif()

# Qt's resource compiler runs again only when a resource file changes, not
# when the date does: a resource source made under another date, or before
# the build took one, would keep that date's times. Such sources are removed
# here, and the build makes them again.
set(date_file ${PROJECT_BINARY_DIR}/CMakeFiles/quendril-build-date.txt)
set(recorded_date "")
if(EXISTS ${date_file})
  file(READ ${date_file} recorded_date)
endif()
if(NOT recorded_date STREQUAL QUENDRIL_SOURCE_DATE_EPOCH)
  file(GLOB_RECURSE stale_resources ${PROJECT_BINARY_DIR}/src/*/qrc_*.cpp ${PROJECT_BINARY_DIR}/tests/*/qrc_*.cpp)
  if(stale_resources)
    file(REMOVE ${stale_resources})
  endif()
  file(WRITE ${date_file} "${QUENDRIL_SOURCE_DATE_EPOCH}")
endif()
