# The plug-in binaries: build/linux/Trazelle.so (from the release build) and
# build/windows/Trazelle.dll (the windows preset). Each exports exactly
# VSTPluginMain and main and depends on nothing a host does not have.

# Platform files of the framework (timer, key mapping) join the core library
# for the platform being built; the entry points go into the binaries only.
if(WIN32)
  set(TRAZELLE_FRAMEWORK_PLATFORM win)
else()
  set(TRAZELLE_FRAMEWORK_PLATFORM linux)
endif()
file(GLOB TRAZELLE_FRAMEWORK_PLATFORM_SOURCES CONFIGURE_DEPENDS
  "${CMAKE_SOURCE_DIR}/framework/*_${TRAZELLE_FRAMEWORK_PLATFORM}.cpp")
list(FILTER TRAZELLE_FRAMEWORK_PLATFORM_SOURCES EXCLUDE REGEX "Entry_")
target_sources(trazelle_core PRIVATE ${TRAZELLE_FRAMEWORK_PLATFORM_SOURCES})
set(TRAZELLE_ENTRY_SOURCE
  "${CMAKE_SOURCE_DIR}/framework/PluginVST2Entry_${TRAZELLE_FRAMEWORK_PLATFORM}.cpp")

add_library(Trazelle SHARED ${TRAZELLE_ENTRY_SOURCE})
target_link_libraries(Trazelle PRIVATE trazelle_core)
trazelle_warnings(Trazelle)
set_target_properties(Trazelle PROPERTIES PREFIX "")

if(WIN32)
  target_link_libraries(trazelle_core PUBLIC user32)
  # The C++ and threading runtimes go into the DLL, so that it imports only
  # Windows system libraries.
  target_link_options(Trazelle PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(Trazelle PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}"
    LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")
else()
  set(TRAZELLE_EXPORTS_MAP "${CMAKE_SOURCE_DIR}/cmake/Trazelle.map")
  target_link_options(Trazelle PRIVATE "-Wl,--version-script=${TRAZELLE_EXPORTS_MAP}")
  set_property(TARGET Trazelle APPEND PROPERTY LINK_DEPENDS "${TRAZELLE_EXPORTS_MAP}")
  target_compile_options(Trazelle PRIVATE -fvisibility=hidden)
  if(TRAZELLE_SANITIZE STREQUAL "")
    # A host may bring its own, older or newer, C++ runtime: ours stays inside.
    target_link_options(Trazelle PRIVATE -static-libstdc++ -static-libgcc -Wl,-z,defs)
  endif()
  set_target_properties(Trazelle PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/linux")

  # The release build publishes the binary where the project keeps it.
  if(CMAKE_BINARY_DIR STREQUAL "${CMAKE_SOURCE_DIR}/build/release")
    add_custom_command(TARGET Trazelle POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_SOURCE_DIR}/build/linux"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different "$<TARGET_FILE:Trazelle>"
              "${CMAKE_SOURCE_DIR}/build/linux/Trazelle.so"
      VERBATIM)
  endif()
endif()

# The test host also runs on Windows (under wine); natively it comes in with
# the other tools.
if(WIN32 AND EXISTS "${CMAKE_SOURCE_DIR}/tools/vsthost/CMakeLists.txt")
  add_subdirectory("${CMAKE_SOURCE_DIR}/tools/vsthost" "${CMAKE_BINARY_DIR}/tools/vsthost")
endif()
