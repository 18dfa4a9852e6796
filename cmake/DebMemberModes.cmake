# CPack's post-build script for the Debian package: CPack gives each member
# of the package's ar archive (debian-binary, control.tar.*, data.tar.*) the
# mode of the file it wrote it from, which follows the builder's umask. Each
# member's mode field is set to 100644 here, as dpkg-deb writes it, so that
# the package is the same under any umask.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  file(SIZE ${package} total)
  # After the 8-byte magic, each member: a 60-byte header (its mode at 40,
  # 8 bytes; its size at 48, 10 bytes), its data, padded to an even length.
  set(at 8)
  while(at LESS total)
    math(EXPR mode_at "${at} + 40")
    math(EXPR size_at "${at} + 48")
    file(READ ${package} size OFFSET ${size_at} LIMIT 10)
    string(STRIP "${size}" size)
    if(NOT size MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${package}: no ar member header at byte ${at}")
    endif()
    execute_process(
      COMMAND sh -c "printf '100644  ' | dd of=\"$0\" bs=1 seek=\"$1\" conv=notrunc status=none" ${package} ${mode_at}
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${package}: could not set the mode of the member at byte ${at}")
    endif()
    math(EXPR at "${at} + 60 + ${size} + ${size} % 2")
  endwhile()
endforeach()
