# shellcheck shell=bash
# Sourced by the checks that build the sources again beside a first build
# (tests/packaging/reproducible.sh, tests/windows/signed_build.sh):
# first_build_options FIRST sets the array $options to the first build's
# choices, read from its cache, as arguments for configuring another build.
first_build_options() {
  local first=$1 name value
  options=()
  for name in CMAKE_BUILD_TYPE CMAKE_CXX_COMPILER CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_DEBUG CMAKE_CXX_FLAGS_RELEASE \
    CMAKE_CXX_FLAGS_RELWITHDEBINFO CMAKE_EXE_LINKER_FLAGS CMAKE_TOOLCHAIN_FILE \
    QUENDRIL_SITE_ROOT QUENDRIL_SCREENSHOT_ROOT QUENDRIL_PACKAGE_CONTACT QUENDRIL_HOST_ICON_RENDERER CMAKE_GENERATOR; do
    grep -q "^$name:" "$first/CMakeCache.txt" || continue
    value=$(sed -n "s/^$name:[A-Z]*=//p" "$first/CMakeCache.txt")
    case $name in
      CMAKE_GENERATOR) options+=(-G "$value") ;;
      *) options+=("-D$name=$value") ;;
    esac
  done
}
