# Our own code builds without warnings; generated and third-party code is left
# alone. Warnings stop the build only when asked (the test command and the
# presets ask): packagers build with other compilers and flags, and a warning
# that only they see must not break their build.
option(QUENDRIL_WERROR "Treat warnings in Quendril's own code as errors" OFF)

function(quendril_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${QUENDRIL_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<BOOL:${QUENDRIL_WERROR}>:-Werror>)
  endif()
endfunction()
