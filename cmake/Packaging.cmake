# Installing the program and packing it. Included from the top CMakeLists.txt
# after the program's target exists.
#
#   cmake --install build --prefix /tmp/root   lays out bin/ and, on Linux and
#                                              other desktop Unix systems,
#                                              share/applications, share/metainfo
#                                              and share/icons/hicolor
#   cpack -G DEB --config build/CPackConfig.cmake   builds the Debian package
include(GNUInstallDirs)

# The folders an install makes are rwxr-xr-x whatever the builder's umask,
# in the Debian package and the Windows packages alike.
set(QUENDRIL_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${QUENDRIL_DIRECTORY_PERMISSIONS})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${QUENDRIL_DIRECTORY_PERMISSIONS})

# A date given as YYYY-MM-DD, at midnight UTC, as a Debian changelog writes it
# (RFC 2822): "Tue, 08 Dec 2026 00:00:00 +0000". 1 January 1970 was a Thursday.
function(quendril_rfc2822_date out date)
  quendril_date_epoch(seconds "${date}")
  string(SUBSTRING "${date}" 0 4 year)
  string(SUBSTRING "${date}" 5 2 month)
  string(SUBSTRING "${date}" 8 2 day)
  string(REGEX REPLACE "^0" "" month "${month}")
  math(EXPR index "${month} - 1")
  math(EXPR weekday "(${seconds} / 86400 + 4) % 7")
  set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  set(weekday_names Sun Mon Tue Wed Thu Fri Sat)
  list(GET month_names ${index} month_name)
  list(GET weekday_names ${weekday} weekday_name)
  set(${out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

# Where a release publishes the screenshots of docs/; software centres show
# them from there.
set(QUENDRIL_SCREENSHOT_ROOT "${QUENDRIL_SITE_ROOT}/vasq-free-quendril/screenshots" CACHE STRING
    "Address under which docs/*.png are published, without a trailing slash")
set(QUENDRIL_PACKAGE_CONTACT "${QUENDRIL_MAKER} <quendril@vasq.example>" CACHE STRING
    "Maintainer named in the packages")

# On Windows the program's folder holds the program, the libraries it loads
# and Qt's plugins beside it, as Windows programs are laid out.
if(WIN32)
  set(QUENDRIL_PROGRAM_DESTINATION .)
else()
  set(QUENDRIL_PROGRAM_DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS quendril
  RUNTIME DESTINATION ${QUENDRIL_PROGRAM_DESTINATION}
  BUNDLE DESTINATION .)

if(WIN32)
  install(FILES ${QUENDRIL_WINDOWS_COMPILER_RUNTIME} DESTINATION .)
  foreach(library IN LISTS QUENDRIL_WINDOWS_QT_LIBRARIES)
    install(FILES $<TARGET_FILE:${library}> DESTINATION .)
  endforeach()
  set(plugins ${QUENDRIL_WINDOWS_QT_PLUGINS})
  while(plugins)
    list(POP_FRONT plugins folder plugin)
    install(FILES $<TARGET_FILE:${plugin}> DESTINATION ${folder})
  endwhile()
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsNotices.cmake)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackages.cmake)
endif()

if(APPLE)
  set_target_properties(quendril PROPERTIES
    MACOSX_BUNDLE_GUI_IDENTIFIER ${QUENDRIL_APP_ID}
    MACOSX_BUNDLE_BUNDLE_NAME "${QUENDRIL_TITLE}"
    MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION})
endif()

if(UNIX AND NOT APPLE)
  set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
  set(packaging_out ${PROJECT_BINARY_DIR}/packaging)
  set(icon_svg ${PROJECT_SOURCE_DIR}/src/app/resources/quendril.svg)

  # Qt comes from the system's library path; an installed program carries no
  # search path of its own.
  set_target_properties(quendril PROPERTIES INSTALL_RPATH "")

  # The maker's reverse-DNS name, for the AppStream file: the application id
  # without its last part.
  string(REGEX REPLACE "\\.[^.]*$" "" QUENDRIL_DEVELOPER_ID "${QUENDRIL_APP_ID}")
  configure_file(${packaging_dir}/${QUENDRIL_APP_ID}.metainfo.xml.in
    ${packaging_out}/${QUENDRIL_APP_ID}.metainfo.xml @ONLY)
  configure_file(${packaging_dir}/${QUENDRIL_APP_ID}.desktop.in
    ${packaging_out}/${QUENDRIL_APP_ID}.desktop @ONLY)

  # The theme's bitmap sizes, rendered from the SVG like the program's own.
  set(icon_pngs "")
  foreach(size 48 256)
    set(png ${packaging_out}/icons/${size}x${size}/${QUENDRIL_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}/icons/${size}x${size}
      COMMAND quendril_icon_renderer ${icon_svg} ${size} ${png}
      DEPENDS quendril_icon_renderer ${icon_svg}
      COMMENT "Rendering the ${size} px icon"
      VERBATIM)
    list(APPEND icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(quendril_icons ALL DEPENDS ${icon_pngs})

  # The documentation Debian asks of every package: the copyright, the
  # changelog (a native package's, so named changelog) and a manual page, the
  # latter two compressed without a time stamp.
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quendril)
  # The release date as the copyright's year and as the changelog's date.
  string(SUBSTRING "${QUENDRIL_RELEASE_DATE}" 0 4 QUENDRIL_RELEASE_YEAR)
  quendril_rfc2822_date(QUENDRIL_RELEASE_CHANGELOG_DATE "${QUENDRIL_RELEASE_DATE}")
  configure_file(${packaging_dir}/copyright.in ${packaging_out}/copyright @ONLY)
  configure_file(${packaging_dir}/changelog.in ${packaging_out}/changelog @ONLY)
  configure_file(${packaging_dir}/quendril.1.in ${packaging_out}/quendril.1 @ONLY)
  find_program(GZIP gzip REQUIRED)
  set(compressed_docs "")
  foreach(doc changelog quendril.1)
    add_custom_command(OUTPUT ${packaging_out}/${doc}.gz
      COMMAND ${GZIP} -9nkf ${packaging_out}/${doc}
      DEPENDS ${packaging_out}/${doc}
      COMMENT "Compressing ${doc}"
      VERBATIM)
    list(APPEND compressed_docs ${packaging_out}/${doc}.gz)
  endforeach()
  add_custom_target(quendril_docs ALL DEPENDS ${compressed_docs})
  install(FILES ${packaging_out}/copyright ${packaging_out}/changelog.gz DESTINATION ${doc_dir})
  install(FILES ${packaging_out}/quendril.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  install(FILES ${packaging_out}/${QUENDRIL_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${packaging_out}/${QUENDRIL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${icon_svg}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${QUENDRIL_APP_ID}.svg)
endif()

set(CPACK_PACKAGE_NAME quendril)
set(CPACK_PACKAGE_VENDOR "${QUENDRIL_MAKER}")
set(CPACK_PACKAGE_CONTACT "${QUENDRIL_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QUENDRIL_SITE_ROOT}/vasq-free-quendril/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lost object readings by numerology")
# Debian shows the long description as written: lines of at most 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "${QUENDRIL_TITLE} gives a reading for a lost object by numerology: think of"
  "nine numbers, type them as one nine-digit number, and it shows one of 84"
  "fixed readings that say where or how the object will be found.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${QUENDRIL_TITLE}")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/\\\\.cache/")

if(UNIX AND NOT APPLE)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Not linked, but loaded at run time: the SVG icon engine (in libqt6svg6 up
  # to Debian 12, in qt6-svg-plugins from Debian 13 on) and the fonts that
  # stand in for the windows' Verdana and MS Sans Serif.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-svg-plugins | libqt6svg6 (<< 6.7.2-5~), fonts-dejavu-core")
  # Qt's native Wayland platform; without it Qt falls back to X11 (XWayland).
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
else()
  set(CPACK_GENERATOR ZIP)
endif()

# CPack reads the build's date when it packs: it gives every file in the
# package that time (cmake/Reproducible.cmake).
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)
file(CONFIGURE OUTPUT ${CPACK_PROJECT_CONFIG_FILE}
  CONTENT "set(ENV{SOURCE_DATE_EPOCH} ${QUENDRIL_SOURCE_DATE_EPOCH})\n")

# The Debian package's members with fixed modes, then SHA256SUMS beside the packages.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebMemberModes.cmake ${CMAKE_CURRENT_LIST_DIR}/Checksums.cmake)

include(CPack)
