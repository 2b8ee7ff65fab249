# OpenGL entry points and the NanoVG back end.
#
# trazelle_gl carries the OpenGL 3.2 core function loader: libepoxy on Linux;
# on Windows the platform's loader (through opengl32.dll and wglGetProcAddress). graphics/GLHeaders.h picks the matching header.
#
# The NanoVG back end (graphics/GraphicsNanoVG.cpp) needs those entry points,
# so it is its own library rather than part of trazelle_core; the platforms
# that open a GL context (headless, win32) link it.

add_library(trazelle_gl INTERFACE)
if(WIN32)
  # The loader lives with the Windows window (cmake/PlatformWin32.cmake).
  target_link_libraries(trazelle_gl INTERFACE trazelle_glloader opengl32)
  target_compile_definitions(trazelle_gl INTERFACE TRAZELLE_GL_WGL=1)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
  target_link_libraries(trazelle_gl INTERFACE PkgConfig::EPOXY)
  target_compile_definitions(trazelle_gl INTERFACE TRAZELLE_GL_EPOXY=1)
endif()

set(TRAZELLE_NANOVG_BACKEND_SOURCES "${CMAKE_SOURCE_DIR}/graphics/GraphicsNanoVG.cpp")
if(EXISTS ${TRAZELLE_NANOVG_BACKEND_SOURCES})
  add_library(trazelle_nanovg_backend STATIC ${TRAZELLE_NANOVG_BACKEND_SOURCES})
  target_link_libraries(trazelle_nanovg_backend PUBLIC trazelle_core nanovg trazelle_gl)
  trazelle_warnings(trazelle_nanovg_backend)
endif()
