# Platform-specific targets: each file below owns one platform's pieces.
foreach(part PlatformGL PlatformHeadless PluginBinaries PlatformWin32 PlatformX11)
  if(EXISTS "${CMAKE_CURRENT_LIST_DIR}/${part}.cmake")
    include("${CMAKE_CURRENT_LIST_DIR}/${part}.cmake")
  endif()
endforeach()
