# SPDX-License-Identifier: GPL-3.0-or-later
# What the Windows programs need beside them to start on a machine without
# Qt or MinGW: the Qt libraries and plugins, the MinGW runtime, Qt's own
# Chinese texts, and a qt.conf that makes Qt look for its files there. The
# language and help files are put beside them by the main list already.
# The tests get the same beside them, with Qt Test and the offscreen
# platform on which they run headless.

# The Qt folder: .../lib/cmake/Qt6 is three levels below it.
get_filename_component(QV300_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)

# The runtime the cross compiler links against, wherever it keeps it.
set(QV300_MINGW_RUNTIME)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${dll_path}" OR NOT EXISTS "${dll_path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
  endif()
  list(APPEND QV300_MINGW_RUNTIME "${dll_path}")
endforeach()

# Debian's qt6-translations-l10n; the .qm files are the same on Windows.
set(QV300_QT_TRANSLATIONS_DIR /usr/share/qt6/translations CACHE PATH
    "Where Qt's own .qm files are taken from for the Windows build")
set(QV300_QT_TRANSLATIONS qtbase_zh_CN.qm)

# qv300_deploy(<target> <folder> <Qt library>... PLATFORMS <plugin>...):
# a target that copies it all into <folder>, whenever it changed.
function(qv300_deploy target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "LIBRARIES;PLATFORMS")
  set(commands)
  set(sources)
  foreach(library IN LISTS arg_LIBRARIES)
    list(APPEND sources ${QV300_QT_PREFIX}/bin/Qt6${library}.dll)
  endforeach()
  list(APPEND sources ${QV300_MINGW_RUNTIME})
  list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${sources} ${folder})
  set(platforms)
  foreach(platform IN LISTS arg_PLATFORMS)
    list(APPEND platforms ${QV300_QT_PREFIX}/plugins/platforms/${platform}.dll)
  endforeach()
  list(APPEND commands
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/platforms ${folder}/styles ${folder}/translations
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${platforms} ${folder}/platforms
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QV300_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll ${folder}/styles)
  foreach(qm IN LISTS QV300_QT_TRANSLATIONS)
    if(EXISTS ${QV300_QT_TRANSLATIONS_DIR}/${qm})
      list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QV300_QT_TRANSLATIONS_DIR}/${qm} ${folder}/translations)
    else()
      message(WARNING "${QV300_QT_TRANSLATIONS_DIR}/${qm} is missing (package qt6-translations-l10n): "
                      "Qt's own buttons and dialogs stay English in Chinese")
    endif()
  endforeach()
  list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different
       ${PROJECT_SOURCE_DIR}/packaging/windows/qt.conf ${folder})
  add_custom_target(${target} ALL ${commands}
                    COMMENT "Qt, the MinGW runtime and Qt's translations beside the programs in ${folder}" VERBATIM)
endfunction()

qv300_deploy(qv300-deploy ${CMAKE_BINARY_DIR} LIBRARIES Core Gui Widgets PrintSupport PLATFORMS qwindows)
