# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What the core's tests share with every build that runs them, the native one
# and the WebAssembly one under Node: their sources and the support files
# (test data, temporary folders, scripted users, failing writes), none of
# which needs the toolkit.
set(CORVANE_CORE_TEST_DIRS tests/io tests/imaging tests/model tests/pdb tests/exchange)
list(TRANSFORM CORVANE_CORE_TEST_DIRS APPEND /*.cpp OUTPUT_VARIABLE CORVANE_CORE_TEST_SOURCES)

file(GLOB CORVANE_TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS tests/support/*.cpp)
# The toolkit's picture reader is the platform and window tests' alone (CMakeLists.txt).
list(FILTER CORVANE_TEST_SUPPORT_SOURCES EXCLUDE REGEX "/InstallPictureReader\\.cpp$")

# Takes the GoogleTest target to build against: the system's natively, one
# built from Debian's GoogleTest sources for WebAssembly (then also EXCLUDE_FROM_ALL).
function(corvane_test_support gtest)
  add_library(corvane_test_support STATIC ${ARGN} ${CORVANE_TEST_SUPPORT_SOURCES})
  target_include_directories(corvane_test_support PUBLIC tests)
  target_link_libraries(corvane_test_support PUBLIC corvane_core ${gtest})
  target_compile_definitions(corvane_test_support PUBLIC CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endfunction()
