# The Windows window and its helpers (graphics/platform/win32), and the
# resource script that embeds the editor's fonts and logo into the plug-in.
if(NOT WIN32)
  return()
endif()

enable_language(RC)
# mingw's <cmath> declares M_PI and friends only on request in strict C++ mode.
target_compile_definitions(trazelle_core PUBLIC _USE_MATH_DEFINES)
set(win32_dir "${CMAKE_SOURCE_DIR}/graphics/platform/win32")

# The OpenGL 3.2 entry points, fetched through opengl32.dll: what
# graphics/GLHeaders.h declares on Windows.
add_library(trazelle_glloader STATIC "${win32_dir}/GLLoader.cpp")
target_include_directories(trazelle_glloader PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(trazelle_glloader PUBLIC opengl32)
trazelle_warnings(trazelle_glloader)

file(GLOB TRAZELLE_WIN32_SOURCES CONFIGURE_DEPENDS "${win32_dir}/*.cpp")
list(REMOVE_ITEM TRAZELLE_WIN32_SOURCES "${win32_dir}/GLLoader.cpp")
if(NOT TARGET trazelle_nanovg_backend)
  # The window derives from the NanoVG back end; without it only the helpers build.
  list(FILTER TRAZELLE_WIN32_SOURCES EXCLUDE REGEX "/(GraphicsWin[A-Za-z]*|PlatformGraphicsWin)\\.cpp$")
endif()
add_library(trazelle_win32 STATIC ${TRAZELLE_WIN32_SOURCES})
target_link_libraries(trazelle_win32 PUBLIC trazelle_core trazelle_glloader
  gdi32 user32 comctl32 comdlg32 shell32 ole32 wininet)
if(TARGET trazelle_nanovg_backend)
  target_link_libraries(trazelle_win32 PUBLIC trazelle_nanovg_backend)
endif()
trazelle_warnings(trazelle_win32)

# One resource per TRAZELLE_RESOURCES entry (NAME TYPE FILE, cmake/Resources.cmake),
# all in English (United Kingdom), language 2057.
set(rc_body "LANGUAGE 9, 2\n")
set(index 0)
list(LENGTH TRAZELLE_RESOURCES resource_fields)
while(index LESS resource_fields)
  math(EXPR type_index "${index} + 1")
  math(EXPR file_index "${index} + 2")
  list(GET TRAZELLE_RESOURCES ${index} name)
  list(GET TRAZELLE_RESOURCES ${type_index} type)
  list(GET TRAZELLE_RESOURCES ${file_index} input)
  string(APPEND rc_body "${name} ${type} \"${input}\"\n")
  math(EXPR index "${index} + 3")
endwhile()
set(TRAZELLE_RESOURCE_SCRIPT "${CMAKE_BINARY_DIR}/resources/Trazelle.rc")
file(CONFIGURE OUTPUT "${TRAZELLE_RESOURCE_SCRIPT}" CONTENT "${rc_body}")

# Linked as objects so that the resources reach every module linking it;
# a static library would drop them, since no code refers to them.
add_library(trazelle_win32_resources OBJECT "${TRAZELLE_RESOURCE_SCRIPT}")

# The plug-in carries the window and the resources its editor loads by name.
if(TARGET Trazelle)
  target_link_libraries(Trazelle PRIVATE trazelle_win32 trazelle_win32_resources)
endif()

add_subdirectory(${CMAKE_SOURCE_DIR}/tests/win32 ${CMAKE_BINARY_DIR}/tests/win32)
