# The tests of a Windows build, cross-built on Linux, run under Wine: CTest
# starts each through wine_run.sh, on one Wine desktop (a private X server and
# a fresh Wine prefix) that the fixture wine_desktop starts before the first
# and ends after the last.
find_program(WINE wine)
find_program(WINESERVER wineserver)
find_program(XVFB Xvfb)
foreach(tool WINE WINESERVER XVFB)
  if(NOT ${tool})
    message(FATAL_ERROR "The tests of a Windows build run under Wine on an X server of their own: they need "
      "wine and wine64, and xvfb (run scripts/install-deps.sh windows-test), or configure with -DBUILD_TESTING=OFF.")
  endif()
endforeach()

set(QUENDRIL_WINE_DESKTOP ${PROJECT_BINARY_DIR}/wine-desktop)
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh ${QUENDRIL_WINE_DESKTOP})
set(QUENDRIL_WINE_TEST_PROPERTIES FIXTURES_REQUIRED wine_desktop)

add_test(NAME wine_desktop_start COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine_fixture.sh start ${QUENDRIL_WINE_DESKTOP})
add_test(NAME wine_desktop_stop COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine_fixture.sh stop ${QUENDRIL_WINE_DESKTOP})
set_tests_properties(wine_desktop_start PROPERTIES FIXTURES_SETUP wine_desktop TIMEOUT 180)
set_tests_properties(wine_desktop_stop PROPERTIES FIXTURES_CLEANUP wine_desktop TIMEOUT 60)
