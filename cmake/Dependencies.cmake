# Third-party code comes from Debian packages only (see scripts/setup).

add_library(trazelle_deps INTERFACE)
if(CMAKE_CROSSCOMPILING)
  # The header-only libraries are the build machine's Debian packages. Their
  # folders are linked into one include directory of their own: adding
  # /usr/include itself would hand the cross compiler the host's C library.
  set(TRAZELLE_CROSS_INCLUDE "${CMAKE_BINARY_DIR}/cross-include")
  file(MAKE_DIRECTORY "${TRAZELLE_CROSS_INCLUDE}")
  foreach(dir nlohmann boost concurrentqueue rapidxml)
    if(NOT EXISTS "/usr/include/${dir}")
      message(FATAL_ERROR "/usr/include/${dir} not found; run scripts/setup")
    endif()
    if(NOT EXISTS "${TRAZELLE_CROSS_INCLUDE}/${dir}")
      file(CREATE_LINK "/usr/include/${dir}" "${TRAZELLE_CROSS_INCLUDE}/${dir}" SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(trazelle_deps SYSTEM INTERFACE "${TRAZELLE_CROSS_INCLUDE}")
else()
  find_package(nlohmann_json 3 REQUIRED)
  find_package(Boost 1.74 REQUIRED)
  find_path(CONCURRENTQUEUE_INCLUDE_DIR concurrentqueue/concurrentqueue.h REQUIRED)
  find_path(RAPIDXML_INCLUDE_DIR rapidxml/rapidxml.hpp REQUIRED)
  target_link_libraries(trazelle_deps INTERFACE nlohmann_json::nlohmann_json Boost::headers)
  target_include_directories(trazelle_deps SYSTEM INTERFACE
    ${CONCURRENTQUEUE_INCLUDE_DIR} ${RAPIDXML_INCLUDE_DIR})
endif()

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
