# The Windows window and its helpers (graphics/platform/win32), and the
# resource script that embeds the editor's fonts and logo into the plug-in.
if(NOT WIN32)
  return()
endif()

enable_language(RC)

file(GLOB TRAZELLE_WIN32_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/graphics/platform/win32/*.cpp)
add_library(trazelle_win32 STATIC ${TRAZELLE_WIN32_SOURCES})
target_link_libraries(trazelle_win32 PUBLIC trazelle_core
  opengl32 gdi32 user32 comctl32 comdlg32 shell32 wininet)
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

add_subdirectory(${CMAKE_SOURCE_DIR}/tests/win32 ${CMAKE_BINARY_DIR}/tests/win32)
