# The same commit built in any folder at any time gives the same Windows programs,
# byte for byte, so anyone can rebuild a release and compare it with the download.
if(MINGW)
  # No folder names in the binaries (__FILE__, debug records): the build folder is
  # mapped after the source folder because it usually lies inside it.
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>
                      $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)
  # No link time in the PE header (windres already writes zero resource times).
  add_link_options(-Wl,--no-insert-timestamp)
endif()
