# The headless platform: an OpenGL 3.2 core context on EGL's surfaceless Mesa
# platform (no window system), drawing through the NanoVG back end into an
# off-screen "window". Tests, benchmarks and the render tool use it. Linux only.

if(WIN32 OR NOT TARGET trazelle_nanovg_backend)
  return()
endif()

pkg_check_modules(EGL REQUIRED IMPORTED_TARGET egl)
file(GLOB TRAZELLE_HEADLESS_SOURCES CONFIGURE_DEPENDS
  "${CMAKE_SOURCE_DIR}/graphics/platform/headless/*.cpp")
add_library(trazelle_headless STATIC ${TRAZELLE_HEADLESS_SOURCES})
target_link_libraries(trazelle_headless PUBLIC trazelle_nanovg_backend PkgConfig::EGL)
trazelle_warnings(trazelle_headless)
