# Scheme and host of the maker's web site. The default is a reserved name that
# nobody owns, and the address the windows are drawn for; a release build
# passes the real one with -DQUENDRIL_SITE_ROOT=... Included by the top-level
# CMakeLists.txt and by the fuzz project (fuzz/), which builds the site code
# on its own.
set(QUENDRIL_DEFAULT_SITE_ROOT "https://www.vasq.example")
set(QUENDRIL_SITE_ROOT "${QUENDRIL_DEFAULT_SITE_ROOT}" CACHE STRING
    "Scheme and host of the maker's web site, without a trailing slash")
