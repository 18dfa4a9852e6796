# The tests of a Windows build, cross-built on Linux, run under Wine: CTest
# starts each through wine_run.sh, on one Wine desktop (a private X server and
# a fresh Wine prefix) that the fixture wine_desktop starts before the first
# and ends after the last.
set(QUENDRIL_TEST_DEPENDENCIES windows-test)
include(${PROJECT_SOURCE_DIR}/cmake/TestTools.cmake)
quendril_require_test_tool(WINE wine "wine and wine64")
quendril_require_test_tool(WINESERVER wineserver "wine and wine64")
quendril_require_test_tool(XVFB Xvfb xvfb)
quendril_require_test_tool(PYTHON3 python3 python3)

set(QUENDRIL_WINE_DESKTOP ${PROJECT_BINARY_DIR}/wine-desktop)
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh ${QUENDRIL_WINE_DESKTOP})
set(QUENDRIL_WINE_TEST_PROPERTIES FIXTURES_REQUIRED wine_desktop)

add_test(NAME wine_desktop_start COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine_fixture.sh start ${QUENDRIL_WINE_DESKTOP})
add_test(NAME wine_desktop_stop COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine_fixture.sh stop ${QUENDRIL_WINE_DESKTOP})
set_tests_properties(wine_desktop_start PROPERTIES FIXTURES_SETUP wine_desktop TIMEOUT 180)
set_tests_properties(wine_desktop_stop PROPERTIES FIXTURES_CLEANUP wine_desktop TIMEOUT 60)
