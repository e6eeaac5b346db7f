# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The browser edition: the core layers and src/web's bindings as one
# WebAssembly module with its JavaScript loader, an ES module whose default
# export creates the module. Built by scripts/build-web.sh with emcmake.
set(CORVANE_WEB_OUTPUT ${CMAKE_BINARY_DIR} CACHE PATH "Where the module and its loader go")

# Release at -O2: -O3 makes a larger module and the page no faster.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")

file(GLOB WEB_SOURCES CONFIGURE_DEPENDS src/web/*.cpp)
add_executable(corvane-core ${WEB_SOURCES})
target_link_libraries(corvane-core PRIVATE corvane_core)
corvane_warnings(corvane-core)
target_compile_definitions(corvane-core PRIVATE CORVANE_VERSION="${PROJECT_VERSION}")
set_target_properties(corvane-core PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CORVANE_WEB_OUTPUT})
# The memory grows with the pictures: a skin needs a few MiB, a picture at
# the pixel limit some hundreds; the core's decoders refuse what passes the
# memory budget before they allocate it.
target_link_options(corvane-core PRIVATE
  --bind
  -sMODULARIZE=1 -sEXPORT_ES6=1 -sEXPORT_NAME=createCore
  -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=2GB
  -sENVIRONMENT=web,worker,node
  -sFILESYSTEM=1 -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=FS)

# The core's own tests, the same sources as the native core_tests, run by
# Node: every test file that needs no toolkit, byte for byte as natively.
# Built on request (scripts/build-web.sh --tests) from Debian's GoogleTest
# sources. Node's own file system stands in for the module's (NODERAWFS), so
# the tests read tests/data and write their temporary folders as natively;
# what WebAssembly has not (signals, file size limits) the tests skip there,
# each saying why.
set(CORVANE_GTEST_SOURCE /usr/src/googletest/googletest)
if(EXISTS ${CORVANE_GTEST_SOURCE}/src/gtest-all.cc)
  add_library(corvane_web_gtest STATIC EXCLUDE_FROM_ALL ${CORVANE_GTEST_SOURCE}/src/gtest-all.cc
              ${CORVANE_GTEST_SOURCE}/src/gtest_main.cc)
  target_include_directories(corvane_web_gtest SYSTEM PUBLIC ${CORVANE_GTEST_SOURCE}/include PRIVATE ${CORVANE_GTEST_SOURCE})
  corvane_test_support(corvane_web_gtest EXCLUDE_FROM_ALL)
  file(GLOB CORVANE_WEB_TEST_SOURCES CONFIGURE_DEPENDS ${CORVANE_CORE_TEST_SOURCES})
  add_executable(corvane-codec-tests EXCLUDE_FROM_ALL ${CORVANE_WEB_TEST_SOURCES})
  target_link_libraries(corvane-codec-tests PRIVATE corvane_test_support)
  set_target_properties(corvane-codec-tests PROPERTIES SUFFIX ".js")
  target_link_options(corvane-codec-tests PRIVATE -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=4GB -sNODERAWFS=1
                      -sENVIRONMENT=node -sEXIT_RUNTIME=1)
endif()
