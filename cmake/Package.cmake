# Man pages (written in scdoc, turned into roff at build time) and the two
# Debian packages, corvane (the tool) and corvane-desktop (the editor):
# scripts/build-deb.sh runs `cpack -G DEB` on a configured build.
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane-desktop)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL tool desktop)
set(CPACK_DEBIAN_TOOL_PACKAGE_NAME corvane)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME corvane-desktop)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_CONTACT "Corvane Desktop developers <developers@corvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Treo 650/700p phone skins and splash images")
set(CPACK_COMPONENT_TOOL_DESCRIPTION "command-line tool for Treo 650/700p phone skins and splash images
corvane builds, extracts, inspects and converts the phone-application skins
and splash files of the Treo 650 and 700p smartphones, both Palm OS resource
databases, and encodes and decodes single Palm bitmaps, in scripts and pipelines.
It reads BMP, PNG, JPEG and netpbm pictures without any graphical toolkit.")
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
