# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Man pages (written in scdoc, turned into roff at build time) and the two
# Debian packages, corvane (the tool) and corvane-desktop (the editor):
# scripts/build-deb.sh runs `cpack -G DEB` on a configured build.
set(CORVANE_MAINTAINER "Corvane Desktop developers <developers@corvane.invalid>")
set(CORVANE_RELEASE_DATE "Tue, 08 Dec 2026 12:00:00 +0000")
find_program(SCDOC scdoc REQUIRED)
foreach(page corvane.1 corvane-desktop.1)
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/docs/man/${page}.scd)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND sh -c "'${SCDOC}' < '${source}' | gzip -9n > '${output}'"
    DEPENDS ${source} VERBATIM)
  list(APPEND MAN_PAGES ${output})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${MAN_PAGES})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/corvane.1.gz DESTINATION share/man/man1 COMPONENT tool)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/corvane-desktop.1.gz DESTINATION share/man/man1 COMPONENT desktop)

# What Debian asks of every package in /usr/share/doc/PACKAGE: the
# machine-readable copyright file and the changelog, compressed as Debian's own
# tools compress it (-n: no name or time stamp, so rebuilds give the same bytes).
foreach(package corvane corvane-desktop)
  set(doc ${CMAKE_CURRENT_BINARY_DIR}/doc/${package})
  file(WRITE ${doc}/changelog "${package} (${PROJECT_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${CORVANE_MAINTAINER}  ${CORVANE_RELEASE_DATE}
")
  add_custom_command(OUTPUT ${doc}/changelog.gz
    COMMAND sh -c "gzip -9n < '${doc}/changelog' > '${doc}/changelog.gz'"
    DEPENDS ${doc}/changelog VERBATIM)
  list(APPEND CHANGELOGS ${doc}/changelog.gz)
endforeach()
add_custom_target(debian_changelogs ALL DEPENDS ${CHANGELOGS})
install(FILES cmake/copyright ${CMAKE_CURRENT_BINARY_DIR}/doc/corvane/changelog.gz
  DESTINATION share/doc/corvane COMPONENT tool)
install(FILES cmake/copyright ${CMAKE_CURRENT_BINARY_DIR}/doc/corvane-desktop/changelog.gz
  DESTINATION share/doc/corvane-desktop COMPONENT desktop)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane-desktop)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL tool desktop)
set(CPACK_DEBIAN_TOOL_PACKAGE_NAME corvane)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME corvane-desktop)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_CONTACT "${CORVANE_MAINTAINER}")
# No CPACK_PACKAGE_DESCRIPTION_SUMMARY: CPack would put it before each
# package's own description, so both would open with the editor's synopsis.
# Each description's first line is its package's synopsis.
set(CPACK_COMPONENT_TOOL_DESCRIPTION "command-line tool for Treo 650/700p phone skins and splash images
corvane builds, extracts, inspects and converts the phone-application skins
and splash files of the Treo 650 and 700p smartphones, both Palm OS resource
databases, and encodes and decodes single Palm bitmaps, in scripts and
pipelines. It reads BMP, PNG, JPEG and netpbm pictures without any graphical
toolkit.")
set(CPACK_COMPONENT_DESKTOP_DESCRIPTION "editor for Treo 650/700p phone skins and splash images
Corvane Desktop edits the phone-application skin and the splash file of the
Treo 650 and 700p smartphones, both Palm OS resource databases. The
command-line tool for the same files is in the package corvane.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Depends comes from the libraries the binaries really link, not from a hand-kept list.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so no linked library names them:
# without them the editor cannot open a window. The tool needs nothing beyond its libraries.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "corvane")
# Named as well as found, so the layered pictures never depend on how the
# package was built: OpenRaster's zip is inflated by zlib. (Its zip and XML
# readers are linked in.)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "zlib1g")
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)
include(CPack)

add_test(NAME man_page_coverage COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/man/ManPageCoverage.sh
  ${CMAKE_CURRENT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_BINARY_DIR}/man/corvane.1.gz $<TARGET_FILE:corvane>)
