# Third-party code comes from Debian packages only (see scripts/setup).

find_package(nlohmann_json 3 REQUIRED)
find_package(Boost 1.74 REQUIRED)
find_path(CONCURRENTQUEUE_INCLUDE_DIR concurrentqueue/concurrentqueue.h REQUIRED)
find_path(RAPIDXML_INCLUDE_DIR rapidxml/rapidxml.hpp REQUIRED)

add_library(trazelle_deps INTERFACE)
target_link_libraries(trazelle_deps INTERFACE nlohmann_json::nlohmann_json Boost::headers)
target_include_directories(trazelle_deps SYSTEM INTERFACE
  ${CONCURRENTQUEUE_INCLUDE_DIR} ${RAPIDXML_INCLUDE_DIR})

# NanoVG, compiled as C++ from the sources Debian's dpf-source installs. Only
# the rendering back end includes its headers.
set(NANOVG_DIR "/usr/share/dpf/dgl/src/nanovg" CACHE PATH "NanoVG sources")
if(NOT EXISTS "${NANOVG_DIR}/nanovg.c")
  message(FATAL_ERROR "NanoVG sources not found in ${NANOVG_DIR}; run scripts/setup")
endif()
set(NANOVG_CXX_SOURCE "${CMAKE_CURRENT_BINARY_DIR}/nanovg/nanovg.cpp")
configure_file("${NANOVG_DIR}/nanovg.c" "${NANOVG_CXX_SOURCE}" COPYONLY)
add_library(nanovg STATIC "${NANOVG_CXX_SOURCE}")
target_include_directories(nanovg SYSTEM PUBLIC "${NANOVG_DIR}")
target_compile_options(nanovg PRIVATE -w)
