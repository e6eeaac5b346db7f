# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Qt editor: corvane-desktop, its libraries of windows, and the window tests.
# The widgets every window shares; the two editor windows, which never include
# each other; the application that starts them.
function(corvane_window_layer name folder)
  file(GLOB sources CONFIGURE_DEPENDS src/${folder}/*.cpp src/${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "src/app/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PUBLIC ${ARGN})
  corvane_warnings(${name})
endfunction()

corvane_window_layer(corvane_widgets widgets corvane_model Qt6::Widgets)
corvane_window_layer(corvane_editor editor corvane_widgets corvane_exchange)
corvane_window_layer(corvane_splash splash corvane_widgets)
corvane_window_layer(corvane_gui app corvane_editor corvane_splash corvane_platform)
file(GLOB ICON_FILES CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} src/resources/*.png)
qt_add_resources(corvane_gui "corvane_icons" PREFIX "/" BASE src/resources FILES ${ICON_FILES})

add_executable(corvane-desktop src/app/main.cpp)
target_link_libraries(corvane-desktop PRIVATE corvane_gui)
corvane_warnings(corvane-desktop)
install(TARGETS corvane-desktop RUNTIME DESTINATION bin COMPONENT desktop)
install(FILES src/resources/corvane-desktop.desktop DESTINATION share/applications COMPONENT desktop)
foreach(size 16 32 48 64 128 256)
  install(FILES src/resources/app-icon-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
    RENAME corvane-desktop.png COMPONENT desktop)
endforeach()
configure_file(src/resources/org.corvane.CorvaneDesktop.metainfo.xml.in
  ${CMAKE_CURRENT_BINARY_DIR}/org.corvane.CorvaneDesktop.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.corvane.CorvaneDesktop.metainfo.xml DESTINATION share/metainfo
  COMPONENT desktop)

# The user manual and the screenshots it shows, beside the program in the
# build tree as they are installed beside /usr/bin, so that F1 finds them in both.
file(GLOB_RECURSE MANUAL_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/docs/manual/* ${CMAKE_CURRENT_SOURCE_DIR}/docs/screenshots/*)
add_custom_target(manual ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_SOURCE_DIR}/docs/manual ${CMAKE_CURRENT_BINARY_DIR}/docs/manual
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_SOURCE_DIR}/docs/screenshots ${CMAKE_CURRENT_BINARY_DIR}/docs/screenshots
  DEPENDS ${MANUAL_FILES} VERBATIM)
install(DIRECTORY docs/manual/ DESTINATION share/doc/corvane-desktop/manual COMPONENT desktop)
install(DIRECTORY docs/screenshots/ DESTINATION share/doc/corvane-desktop/screenshots COMPONENT desktop)

# One QtTest program per file under tests/gui, run on the offscreen platform.
file(GLOB GUI_TESTS CONFIGURE_DEPENDS tests/gui/*Test.cpp)
file(GLOB GUI_TEST_SUPPORT CONFIGURE_DEPENDS tests/gui/support/*.cpp)
foreach(source ${GUI_TESTS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(gui_${name} ${source} ${GUI_TEST_SUPPORT})
  set_target_properties(gui_${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(gui_${name} PRIVATE corvane_gui corvane_test_support corvane_qt_picture_reader Qt6::Test)
  target_include_directories(gui_${name} PRIVATE tests)
  corvane_warnings(gui_${name})
  add_test(NAME gui_${name} COMMAND gui_${name})
  set_tests_properties(gui_${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endforeach()

# Draws the README's screenshots (scripts/screenshots.sh); not installed.
add_executable(corvane_screenshots EXCLUDE_FROM_ALL tools/screenshots/Screenshots.cpp)
set_target_properties(corvane_screenshots PROPERTIES AUTOMOC ON)
target_link_libraries(corvane_screenshots PRIVATE corvane_gui)

# Start-up and open timings (bench/editor-timing.sh); not installed.
add_executable(corvane_timing EXCLUDE_FROM_ALL tools/timing/Timing.cpp)
target_link_libraries(corvane_timing PRIVATE corvane_gui)
