# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages of qv300, qv300-cli and qv300-radio-sim, made by help2man
# from each program's own --help at build time, so they follow the options.
# packaging/man/<program>.h2m adds what --help does not say (files, exit
# status, see also). qv300-cli's page has a section for each command, from
# `qv300-cli COMMAND --help`. The pages go to man/ in the build folder,
# plain and gzipped, and the gzipped ones are installed in man1.
#
# Run as a script (cmake -P) this file is the build step of one page, or with
# MAN_CHECK the test that a page renders without a warning from man.

if(CMAKE_SCRIPT_MODE_FILE)
  if(DEFINED MAN_CHECK)
    # As lintian reads a page, less its -Tutf8 -Z (which would leave groff's
    # intermediate output instead of the text).
    set(ENV{LC_ALL} C.UTF-8)
    set(ENV{MANWIDTH} 80)
    set(ENV{MANROFFSEQ} "")
    execute_process(COMMAND "${MAN}" --warnings -E UTF-8 -l "${MAN_CHECK}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT result EQUAL 0 OR NOT errors STREQUAL "" OR NOT output MATCHES "\nNAME")
      message(FATAL_ERROR "man -l ${MAN_CHECK} (exit ${result}):\n${errors}")
    endif()
    return()
  endif()

  # Given: MAN_PROGRAM (the executable), MAN_INCLUDE (its .h2m), MAN_WORK (a
  # scratch folder), MAN_OUTPUT (the .1.gz), MAN_VERSION, HELP2MAN, GZIP and,
  # for a program with commands, MAN_COMMANDS (the commands to expect when
  # its help has no list of subcommands, separated by commas).
  foreach(var MAN_PROGRAM MAN_INCLUDE MAN_WORK MAN_OUTPUT MAN_VERSION HELP2MAN GZIP)
    if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
      message(FATAL_ERROR "ManPages.cmake: ${var} is not given")
    endif()
  endforeach()
  # A sanitizer build's programs would report Qt's start-up leaks.
  set(ENV{ASAN_OPTIONS} detect_leaks=0)
  get_filename_component(name "${MAN_PROGRAM}" NAME)
  file(MAKE_DIRECTORY "${MAN_WORK}")
  file(READ "${MAN_INCLUDE}" include)

  if(DEFINED MAN_COMMANDS)
    execute_process(COMMAND "${MAN_PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${name} --help failed (exit ${result})")
    endif()
    # The commands its help lists, when it has a list.
    set(commands "")
    string(REGEX MATCH "\n[Ss][Uu][Bb][Cc][Oo][Mm][Mm][Aa][Nn][Dd][Ss]:\n(  [^\n]*\n)+" listing "${help}")
    string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" names "${listing}")
    foreach(entry IN LISTS names)
      string(STRIP "${entry}" entry)
      list(APPEND commands "${entry}")
    endforeach()
    if(NOT commands)
      string(REPLACE "," ";" commands "${MAN_COMMANDS}")
    endif()
    set(sections "")
    foreach(command IN LISTS commands)
      execute_process(COMMAND "${MAN_PROGRAM}" ${command} --help
                      OUTPUT_VARIABLE text RESULT_VARIABLE result ERROR_QUIET)
      if(NOT result EQUAL 0 OR text STREQUAL "")
        message(WARNING "${name} ${command} --help gave no help (exit ${result}): "
                        "the page has no section for ${command}")
        continue()
      endif()
      # Kept as the program lays it out, with roff's special characters made plain.
      string(REPLACE "\\" "\\e" text "${text}")
      string(REPLACE "-" "\\-" text "${text}")
      string(PREPEND text "\n")
      string(REPLACE "\n." "\n\\&." text "${text}")
      string(REPLACE "\n'" "\n\\&'" text "${text}")
      string(SUBSTRING "${text}" 1 -1 text)
      string(REPLACE "-" "\\-" command_roff "${command}")
      string(APPEND sections ".SS \"${command_roff}\"\n.nf\n${text}.fi\n")
    endforeach()
    # The commands come before the exit status.
    if(sections)
      string(FIND "${include}" "\n[EXIT STATUS]" at)
      if(at EQUAL -1)
        string(APPEND include "\n[COMMANDS]\n${sections}")
      else()
        string(SUBSTRING "${include}" 0 ${at} before)
        string(SUBSTRING "${include}" ${at} -1 after)
        set(include "${before}\n[COMMANDS]\n${sections}${after}")
      endif()
    endif()
  endif()

  file(WRITE "${MAN_WORK}/${name}.h2m" "${include}")
  execute_process(COMMAND "${HELP2MAN}" --no-info --section=1
                          "--version-string=${MAN_VERSION}"
                          "--source=qv300 ${MAN_VERSION}"
                          "--manual=QV-300 programming software"
                          "--include=${MAN_WORK}/${name}.h2m"
                          "--output=${MAN_WORK}/${name}.1"
                          "${MAN_PROGRAM}"
                  RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "help2man failed on ${name} (exit ${result}):\n${errors}")
  endif()
  # -n: no name or time stamp in the gzip header, so the file is reproducible.
  execute_process(COMMAND "${GZIP}" -9nc "${MAN_WORK}/${name}.1"
                  OUTPUT_FILE "${MAN_OUTPUT}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${name}.1")
  endif()
  return()
endif()

option(QV300_MAN_PAGES "Make the manual pages (needs help2man)" ON)
if(NOT QV300_MAN_PAGES)
  return()
endif()
find_program(HELP2MAN help2man)
find_program(QV300_GZIP gzip)
if(NOT HELP2MAN OR NOT QV300_GZIP)
  message(FATAL_ERROR "help2man and gzip make the manual pages: install them "
                      "(tools/install-deps.sh) or configure with -DQV300_MAN_PAGES=OFF")
endif()
include(GNUInstallDirs)
set(QV300_MAN_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

# One page: the program `target`; for a program with commands, the commands
# to expect when its help does not list them.
function(qv300_add_man_page target)
  set(include "${PROJECT_SOURCE_DIR}/packaging/man/${target}.h2m")
  set(page "${CMAKE_BINARY_DIR}/man/${target}.1.gz")
  set(commands "")
  if(ARGN)
    list(JOIN ARGN "," joined)
    set(commands "-DMAN_COMMANDS=${joined}")
  endif()
  add_custom_command(
    OUTPUT "${page}"
    COMMAND "${CMAKE_COMMAND}"
            "-DMAN_PROGRAM=$<TARGET_FILE:${target}>"
            "-DMAN_INCLUDE=${include}"
            "-DMAN_WORK=${CMAKE_BINARY_DIR}/man"
            "-DMAN_OUTPUT=${page}"
            "-DMAN_VERSION=${PROJECT_VERSION}"
            "-DHELP2MAN=${HELP2MAN}"
            "-DGZIP=${QV300_GZIP}"
            ${commands}
            -P "${QV300_MAN_SCRIPT}"
    DEPENDS ${target} "${include}" "${QV300_MAN_SCRIPT}"
    COMMENT "Making the manual page of ${target}"
    VERBATIM)
  install(FILES "${page}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
  set_property(GLOBAL APPEND PROPERTY QV300_MAN_PAGES "${page}")
endfunction()

qv300_add_man_page(qv300)
qv300_add_man_page(qv300-cli new dump read write ports)
qv300_add_man_page(qv300-radio-sim)

get_property(pages GLOBAL PROPERTY QV300_MAN_PAGES)
add_custom_target(qv300-man-pages ALL DEPENDS ${pages})
