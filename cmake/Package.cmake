# Man pages (written in scdoc, turned into roff at build time) and the Debian
# package: scripts/build-deb.sh runs `cpack -G DEB` on a configured build.
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
install(FILES ${MAN_PAGES} DESTINATION share/man/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane-desktop)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_CONTACT "Corvane Desktop developers <developers@corvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Treo 650/700p phone skins and splash images")
set(CPACK_PACKAGE_DESCRIPTION "Corvane Desktop edits the phone-application skin and the splash file
of the Treo 650 and 700p smartphones, both Palm OS resource databases.
The package holds the editor, corvane-desktop, and the command-line tool corvane.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Depends comes from the libraries the binaries really link, not from a hand-kept list.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so no linked library names them:
# without them the editor cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)

add_test(NAME man_page_coverage COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/man/ManPageCoverage.sh
  ${CMAKE_CURRENT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_BINARY_DIR}/man/corvane.1.gz $<TARGET_FILE:corvane>)
