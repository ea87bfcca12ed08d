# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in the build folder (tools/make-deb.sh).
# Besides the programs and their files it holds what Debian asks of every
# package: the copyright file in the machine-readable format and the
# changelog (both from packaging/), and the manual pages (ManPages.cmake).
include(GNUInstallDirs)

# The changelog's newest entry is this version: a package whose changelog
# lags behind says a wrong thing about itself.
set(QV300_CHANGELOG "${PROJECT_SOURCE_DIR}/packaging/changelog")
file(STRINGS "${QV300_CHANGELOG}" changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^qv300 \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with \"${changelog_top}\": "
                      "add an entry for version ${PROJECT_VERSION} at its top")
endif()
find_program(QV300_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/changelog.gz"
  COMMAND "${QV300_GZIP}" -9nc "${QV300_CHANGELOG}" > "${CMAKE_BINARY_DIR}/changelog.gz"
  DEPENDS "${QV300_CHANGELOG}"
  COMMENT "Compressing the changelog")
add_custom_target(qv300-changelog ALL DEPENDS "${CMAKE_BINARY_DIR}/changelog.gz")
install(FILES packaging/copyright "${CMAKE_BINARY_DIR}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")

set(CPACK_PACKAGE_NAME qv300)
set(CPACK_PACKAGE_VENDOR "QV-300 programming software developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Programming software for QV-300 handheld two-way radios")
set(CPACK_PACKAGE_DESCRIPTION_FILE "${PROJECT_SOURCE_DIR}/packaging/description")
set(CPACK_PACKAGE_CONTACT "QV-300 programming software developers <qv300@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/qv300/qv300")
# The executables go in stripped; their debug symbols, when the build has
# them (RelWithDebInfo, as tools/make-deb.sh builds), go into a separate
# qv300-dbgsym package (.ddeb).
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# The libraries the executables link come from dpkg-shlibdeps; Qt's platform
# plug-ins (X11) are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The Chinese windows need a font with CJK characters; a minimal system has
# none and would show empty boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
include(CPack)
