# The Linux window (graphics/platform/x11): an X11 child window of the host's
# window with a GLX context, drawing through the NanoVG back end. It is the
# plug-in's graphics factory on Linux, so the core library (which holds the
# plug-in class that installs the factory) links it; the two static libraries
# refer to each other and CMake repeats them on the link line.

if(WIN32 OR NOT TARGET trazelle_nanovg_backend)
  return()
endif()

pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
file(GLOB TRAZELLE_X11_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/graphics/platform/x11/*.cpp")
add_library(trazelle_x11 STATIC ${TRAZELLE_X11_SOURCES})
target_link_libraries(trazelle_x11 PUBLIC trazelle_nanovg_backend PkgConfig::X11)
trazelle_warnings(trazelle_x11)
target_link_libraries(trazelle_core PUBLIC trazelle_x11)
