# What the programs load at run time on Windows, laid out beside them in bin/
# so that they start from their own folder with nothing on the PATH: Qt's
# libraries and the plugins for the Windows platform and its native style,
# and the MinGW-w64 C++ runtime that Qt and our code link. The tests also load
# Qt Test and the offscreen platform.

# A runtime library of the compiler's, found where the compiler finds it.
function(quendril_compiler_runtime_library variable name)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${name} is")
  endif()
  set(${variable} ${path} PARENT_SCOPE)
endfunction()

set(QUENDRIL_WINDOWS_COMPILER_RUNTIME "")
foreach(library libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  quendril_compiler_runtime_library(path ${library})
  list(APPEND QUENDRIL_WINDOWS_COMPILER_RUNTIME ${path})
endforeach()

# The program's own runtime, as the install and the packages take it;
# plugins with the folder Qt looks for them in beside the program.
set(QUENDRIL_WINDOWS_QT_LIBRARIES Qt6::Core Qt6::Gui Qt6::Widgets)
set(QUENDRIL_WINDOWS_QT_PLUGINS
  platforms Qt6::QWindowsIntegrationPlugin
  styles Qt6::QModernWindowsStylePlugin)

set(runtime_commands "")
foreach(library IN LISTS QUENDRIL_WINDOWS_COMPILER_RUNTIME)
  list(APPEND runtime_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${library} ${PROJECT_BINARY_DIR}/bin/)
endforeach()
set(libraries ${QUENDRIL_WINDOWS_QT_LIBRARIES})
set(plugins ${QUENDRIL_WINDOWS_QT_PLUGINS})
if(BUILD_TESTING)
  list(APPEND libraries Qt6::Test)
  list(APPEND plugins platforms Qt6::QOffscreenIntegrationPlugin)
endif()
foreach(library IN LISTS libraries)
  list(APPEND runtime_commands
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${library}> ${PROJECT_BINARY_DIR}/bin/)
endforeach()
while(plugins)
  list(POP_FRONT plugins folder plugin)
  list(APPEND runtime_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/bin/${folder}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${plugin}> ${PROJECT_BINARY_DIR}/bin/${folder}/)
endwhile()
add_custom_target(quendril_windows_runtime ALL
  ${runtime_commands}
  COMMENT "Laying out Qt and the C++ runtime beside the programs"
  VERBATIM)
