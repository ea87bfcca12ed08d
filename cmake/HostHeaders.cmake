# SPDX-License-Identifier: GPL-3.0-or-later
# nlohmann-json and CLI11 for a cross build: both are header only, so the
# building machine's own packages serve any target. They live in its
# /usr/include, which also holds that system's C library headers, so the
# cross compiler must never see that folder; only the two libraries' own
# folders are linked into host-headers/ of the build tree and that is added
# to the include path.
set(QV300_HOST_INCLUDE_DIR /usr/include CACHE PATH
    "Where the building machine keeps the nlohmann/ and CLI/ headers")
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
foreach(folder nlohmann CLI)
  if(NOT EXISTS ${QV300_HOST_INCLUDE_DIR}/${folder})
    message(FATAL_ERROR "${QV300_HOST_INCLUDE_DIR}/${folder} is missing: install nlohmann-json3-dev and libcli11-dev")
  endif()
  file(MAKE_DIRECTORY ${host_headers})
  file(CREATE_LINK ${QV300_HOST_INCLUDE_DIR}/${folder} ${host_headers}/${folder} SYMBOLIC)
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${host_headers})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${host_headers})
