# SPDX-License-Identifier: GPL-3.0-or-later
# The user guide as compiled HTML help: _English.chm and _Chinese.chm, built
# from the pages in docs/help/en and docs/help/zh with chmcmd (Debian package
# fp-utils-3.2.2). They go into the build folder next to the executables,
# where Help Topics looks for them, and are installed with the language files.
# Without chmcmd nothing is built.
#
# This file is also the build step of each help file: run as a script
# (cmake -P) it copies the pages into a work folder, turns the help project,
# contents and index into the help file's code page when one is given,
# compiles, and stops the build on any failure, warning (a missing page, a
# broken link) or page missing from the result.

if(CMAKE_SCRIPT_MODE_FILE)
  # Given: HELP_SOURCE (the pages), HELP_WORK (a scratch folder), HELP_CHM
  # (the file the project compiles to), HELP_OUTPUT (where it goes),
  # HELP_CODEPAGE (empty, or the code page of the project files), CHMCMD,
  # CHMLS (optional) and ICONV.
  foreach(var HELP_SOURCE HELP_WORK HELP_CHM HELP_OUTPUT CHMCMD ICONV)
    if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
      message(FATAL_ERROR "Help.cmake: ${var} is not given")
    endif()
  endforeach()

  file(REMOVE_RECURSE "${HELP_WORK}")
  file(MAKE_DIRECTORY "${HELP_WORK}")
  file(COPY "${HELP_SOURCE}/" DESTINATION "${HELP_WORK}")

  # The pages stay UTF-8 (each says so); the project, contents and index are
  # read by help viewers in the help file's own code page.
  if(HELP_CODEPAGE)
    foreach(name help.hhp toc.hhc index.hhk)
      execute_process(COMMAND "${ICONV}" -f UTF-8 -t "${HELP_CODEPAGE}"
                      INPUT_FILE "${HELP_SOURCE}/${name}" OUTPUT_FILE "${HELP_WORK}/${name}"
                      RESULT_VARIABLE result ERROR_VARIABLE errors)
      if(NOT result EQUAL 0)
        message(FATAL_ERROR "Help: cannot convert ${HELP_SOURCE}/${name} to ${HELP_CODEPAGE}:\n${errors}")
      endif()
    endforeach()
  endif()

  # chmcmd exits with 0 when the project file is missing and after warnings
  # about missing pages and broken links, and leaves a half-made file after
  # some failures: judge by its output and by the result as well.
  execute_process(COMMAND "${CHMCMD}" help.hhp WORKING_DIRECTORY "${HELP_WORK}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  set(log "${output}${errors}")
  if(NOT result EQUAL 0 OR log MATCHES "Warning|Error|rror:|Can't|exception")
    message(FATAL_ERROR "Help: chmcmd failed on ${HELP_SOURCE}/help.hhp (exit ${result}):\n${log}")
  endif()
  set(chm "${HELP_WORK}/${HELP_CHM}")
  if(NOT EXISTS "${chm}")
    message(FATAL_ERROR "Help: chmcmd made no ${HELP_CHM}:\n${log}")
  endif()
  file(SIZE "${chm}" size)
  if(size EQUAL 0)
    message(FATAL_ERROR "Help: ${HELP_CHM} is empty")
  endif()

  # Every file the project names must be inside the help file.
  if(CHMLS)
    execute_process(COMMAND "${CHMLS}" list "${chm}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE listing ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "Help: chmls cannot list ${HELP_CHM}:\n${errors}")
    endif()
    file(STRINGS "${HELP_SOURCE}/help.hhp" project_lines)
    set(in_files FALSE)
    foreach(line IN LISTS project_lines)
      string(STRIP "${line}" line)
      if(line MATCHES "^\\[")
        set(in_files FALSE)
        if(line STREQUAL "[FILES]")
          set(in_files TRUE)
        endif()
      elseif(in_files AND NOT line STREQUAL "")
        string(FIND "${listing}" " /${line}\n" at)
        if(at EQUAL -1)
          message(FATAL_ERROR "Help: ${line} is missing from ${HELP_CHM}:\n${listing}")
        endif()
      endif()
    endforeach()
  endif()

  file(COPY_FILE "${chm}" "${HELP_OUTPUT}")
  return()
endif()

find_program(CHMCMD chmcmd)
find_program(QV300_ICONV iconv)
if(NOT CHMCMD OR NOT QV300_ICONV)
  message(STATUS "chmcmd (Debian package fp-utils-3.2.2) not found: the help files _English.chm and _Chinese.chm are not built")
  return()
endif()
find_program(CHMLS chmls)
include(GNUInstallDirs)

set(QV300_HELP_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")
set(QV300_HELP_PAGES "${CMAKE_CURRENT_LIST_DIR}/../docs/help")

# One help file: the pages of docs/help/<folder> compiled into
# _<language>.chm, with the project files in `codepage` (empty: as they are).
function(qv300_add_help_file folder language codepage)
  set(source "${QV300_HELP_PAGES}/${folder}")
  cmake_path(NORMAL_PATH source)
  set(chm "${CMAKE_BINARY_DIR}/_${language}.chm")
  file(GLOB pages CONFIGURE_DEPENDS "${source}/*")
  add_custom_command(
    OUTPUT "${chm}"
    COMMAND "${CMAKE_COMMAND}"
            "-DHELP_SOURCE=${source}"
            "-DHELP_WORK=${CMAKE_BINARY_DIR}/help-work/${folder}"
            "-DHELP_CHM=_${language}.chm"
            "-DHELP_OUTPUT=${chm}"
            "-DHELP_CODEPAGE=${codepage}"
            "-DCHMCMD=${CHMCMD}"
            "-DCHMLS=${CHMLS}"
            "-DICONV=${QV300_ICONV}"
            -P "${QV300_HELP_SCRIPT}"
    DEPENDS ${pages} "${QV300_HELP_SCRIPT}"
    COMMENT "Compiling the help file _${language}.chm"
    VERBATIM)
  install(FILES "${chm}" DESTINATION "${CMAKE_INSTALL_DATADIR}/qv300")
  set_property(GLOBAL APPEND PROPERTY QV300_HELP_FILES "${chm}")
endfunction()

qv300_add_help_file(en English "")
# Chinese help viewers read the contents and index in code page 936.
qv300_add_help_file(zh Chinese GBK)

get_property(help_files GLOBAL PROPERTY QV300_HELP_FILES)
add_custom_target(qv300-help ALL DEPENDS ${help_files})
