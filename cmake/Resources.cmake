# The editor's fonts and logo, embedded into the binaries at build time.
#
# Each entry is NAME TYPE FILE: the resource name and type the editor's loads
# ask for (upper-cased file name and upper-cased extension, the way Windows
# resources are found), and the file the bytes come from. The fonts come from
# Debian font packages (scripts/setup installs them); nothing is copied into
# the repository. The Windows resource script reads the same list.

set(TRAZELLE_FONT_DIR_ROBOTO "/usr/share/fonts/truetype/roboto/unhinted" CACHE PATH "Roboto fonts")
set(TRAZELLE_FONT_FORKAWESOME "/usr/share/fonts/truetype/fork-awesome/forkawesome-webfont.ttf"
  CACHE FILEPATH "Fork Awesome icon font")
set(TRAZELLE_FONT_TITLE "/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf"
  CACHE FILEPATH "Display face used for the product and maker names")

set(TRAZELLE_RESOURCES
  "ROBOTO-REGULAR.TTF" "TTF" "${TRAZELLE_FONT_DIR_ROBOTO}/RobotoTTF/Roboto-Regular.ttf"
  "NEUROPOL-X-RG.TTF" "TTF" "${TRAZELLE_FONT_TITLE}"
  "ABEL-REGULAR.TTF" "TTF" "${TRAZELLE_FONT_DIR_ROBOTO}/RobotoCondensed-Regular.ttf"
  "FORKAWESOME-WEBFONT.TTF" "TTF" "${TRAZELLE_FONT_FORKAWESOME}"
  "QUILLMARSH_LOGO_360X120.SVG" "SVG" "${CMAKE_CURRENT_SOURCE_DIR}/resources/Quillmarsh_Logo_360x120.svg")

set(resource_dir "${CMAKE_CURRENT_BINARY_DIR}/resources")
file(MAKE_DIRECTORY "${resource_dir}")
set(resource_sources "")
set(resource_decls "")
set(resource_rows "")
set(index 0)
list(LENGTH TRAZELLE_RESOURCES resource_fields)
while(index LESS resource_fields)
  math(EXPR type_index "${index} + 1")
  math(EXPR file_index "${index} + 2")
  list(GET TRAZELLE_RESOURCES ${index} name)
  list(GET TRAZELLE_RESOURCES ${type_index} type)
  list(GET TRAZELLE_RESOURCES ${file_index} input)
  if(NOT EXISTS "${input}")
    message(FATAL_ERROR "Resource ${name}: ${input} not found; run scripts/setup")
  endif()
  string(MAKE_C_IDENTIFIER "trazelle_resource_${name}" symbol)
  set(output "${resource_dir}/${symbol}.cpp")
  add_custom_command(OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P "${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake"
    DEPENDS "${input}" "${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake"
    COMMENT "Embedding ${name}" VERBATIM)
  list(APPEND resource_sources "${output}")
  string(APPEND resource_decls
    "extern const unsigned char ${symbol}[];\nextern const std::size_t ${symbol}_size;\n")
  string(APPEND resource_rows "    {\"${name}\", \"${type}\", {${symbol}, ${symbol}_size}},\n")
  math(EXPR index "${index} + 3")
endwhile()

configure_file("${CMAKE_CURRENT_SOURCE_DIR}/resources/EmbeddedResourceTable.cpp.in"
  "${resource_dir}/EmbeddedResourceTable.cpp" @ONLY)

add_library(trazelle_resources STATIC
  "${CMAKE_CURRENT_SOURCE_DIR}/resources/EmbeddedResources.cpp"
  "${resource_dir}/EmbeddedResourceTable.cpp" ${resource_sources})
target_include_directories(trazelle_resources PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
trazelle_warnings(trazelle_resources)
