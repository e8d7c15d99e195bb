# The Windows programs' resources: the icon, the application manifest and the
# version information, from one resource script made for each program. The
# version is project()'s, the publisher and copyright LICENSE's, so neither is
# written down twice.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE TQX_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright \\(c\\) [0-9]+ " "" TQX_PUBLISHER "${TQX_COPYRIGHT}")

# The icon file, written by res/ at build time (target program_icon_file).
set(TQX_ICON_FILE ${PROJECT_BINARY_DIR}/res/tqxfft.ico)
set(TQX_MANIFEST_FILE ${PROJECT_BINARY_DIR}/res/tqxfft.manifest)

# Four numbers, as the version resource and the manifest want them.
set(TQX_VERSION_NUMBERS ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR})
foreach(part IN ITEMS PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND TQX_VERSION_NUMBERS 0)
  else()
    list(APPEND TQX_VERSION_NUMBERS ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN TQX_VERSION_NUMBERS "," TQX_FILE_VERSION)
list(JOIN TQX_VERSION_NUMBERS "." TQX_MANIFEST_VERSION)

# tqx_windows_resources(<executable target> <description>): the resources
# compiled into the program; nothing on other platforms.
function(tqx_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(TQX_RC_PROGRAM ${target})
  set(TQX_RC_DESCRIPTION "${description}")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/res/ProgramResources.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${TQX_ICON_FILE};${TQX_MANIFEST_FILE}")
  add_dependencies(${target} program_icon_file)
endfunction()
