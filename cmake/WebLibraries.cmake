# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The picture libraries of the browser edition: those scripts/build-web.sh
# built for WebAssembly from Debian's sources into CORVANE_WEB_DEPS, under the
# names the desktop build's pkg-config gives them, so that every layer links
# the same libraries in both.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "CORVANE_WEB needs the emscripten toolchain: run scripts/build-web.sh")
endif()
set(CORVANE_WEB_DEPS ${CMAKE_SOURCE_DIR}/build/web-deps/prefix CACHE PATH
    "The picture libraries built for WebAssembly (scripts/build-web.sh)")

# Headers under CORVANE_WEB_DEPS/include as Debian installs them (minizip's in
# a folder of their own, named as the desktop build includes them).
function(corvane_web_library target archive)
  set(path ${CORVANE_WEB_DEPS}/lib/${archive})
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "${path} is missing: scripts/build-web.sh builds it")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${path})
  target_include_directories(${target} SYSTEM INTERFACE ${CORVANE_WEB_DEPS}/include)
  target_link_libraries(${target} INTERFACE ${CORVANE_WEB_ZLIB})
endfunction()

corvane_web_library(PkgConfig::ZLIB libz.a)
set(CORVANE_WEB_ZLIB PkgConfig::ZLIB)
corvane_web_library(PkgConfig::SPNG libspng.a)
# One archive for both of libjpeg-turbo's interfaces, which the desktop links
# as two libraries: TurboJPEG's is built with libjpeg's functions inside.
corvane_web_library(PkgConfig::TURBOJPEG libturbojpeg.a)
corvane_web_library(PkgConfig::MINIZIP libminizip.a)
set(CORVANE_ZIP_LIBRARIES PkgConfig::MINIZIP PkgConfig::ZLIB)
set(PUGIXML_ARCHIVE ${CORVANE_WEB_DEPS}/lib/libpugixml.a)
set(CORVANE_PICTURE_LIBRARIES PkgConfig::SPNG PkgConfig::ZLIB PkgConfig::TURBOJPEG ${PUGIXML_ARCHIVE})
