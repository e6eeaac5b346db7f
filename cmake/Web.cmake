# The browser edition: the core layers and src/web's bindings as one
# WebAssembly module with its JavaScript loader, an ES module whose default
# export creates the module. Built by scripts/build-web.sh with emcmake.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "CORVANE_WEB needs the emscripten toolchain: run scripts/build-web.sh")
endif()

set(CORVANE_WEB_OUTPUT ${CMAKE_BINARY_DIR} CACHE PATH "Where the module and its loader go")

# Release at -O2: -O3 makes a larger module and the page no faster.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")

file(GLOB WEB_SOURCES CONFIGURE_DEPENDS src/web/*.cpp)
add_executable(corvane-core ${WEB_SOURCES})
target_link_libraries(corvane-core PRIVATE corvane_core)
corvane_warnings(corvane-core)
set_target_properties(corvane-core PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CORVANE_WEB_OUTPUT})
# The memory grows with the pictures: a skin needs a few MiB, a 64-megapixel
# picture some hundreds. The page checks sizes first (fileLimit, pixelLimit).
target_link_options(corvane-core PRIVATE
  --bind
  -sMODULARIZE=1 -sEXPORT_ES6=1 -sEXPORT_NAME=createCore
  -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=2GB
  -sENVIRONMENT=web,worker,node
  -sFILESYSTEM=1 -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=FS)
