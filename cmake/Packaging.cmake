# The release zip for Windows users, made by CPack (scripts/package):
# Lullscreen-<version>-win32.zip with both programs and the documents, and
# SHA256SUMS beside it (-win64.zip from a 64-bit build, which does not ship).
# Everything for it is installed as the component "programs", and the zip takes that component only, so other components
# (a library's headers and package files) can be installed without landing in it.
if(NOT TARGET Lullscreen)
  return()
endif()

install(TARGETS Lullscreen mixinspect RUNTIME DESTINATION . COMPONENT programs)

# The documents with CR LF line ends, which every Windows editor shows as lines;
# any CR LF a checkout already has is kept as one.
foreach(doc README.md LICENSE CHANGELOG.md)
  file(READ ${PROJECT_SOURCE_DIR}/${doc} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${PROJECT_BINARY_DIR}/package-docs/${doc} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${doc})
  install(FILES ${PROJECT_BINARY_DIR}/package-docs/${doc} DESTINATION . COMPONENT programs)
endforeach()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Lullscreen)
set(CPACK_PACKAGE_VENDOR "The Lullscreen authors")
# The zip names the Windows its programs are for, so that a 64-bit one is never
# taken for the 32-bit release.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_PACKAGE_FILE_NAME "Lullscreen-${PROJECT_VERSION}-win64")
else()
  set(CPACK_PACKAGE_FILE_NAME "Lullscreen-${PROJECT_VERSION}-win32")
endif()
# Only the "programs" component, as one zip without a component suffix. A
# component install also lists the files in sorted order, which fixes the order
# of the zip's entries.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL programs)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Root (user and group 0) as every entry's owner, whoever packs: CPack writes
# these from CMake 4.3 on; an older one takes the packing user's, which
# scripts/package hides by packing under fakeroot (see PackageTimes.cmake).
set(CPACK_ARCHIVE_UID 0)
set(CPACK_ARCHIVE_GID 0)
# The commit's time as the zip's file times, and SHA256SUMS afterwards.
set(CPACK_LULLSCREEN_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackageTimes.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageChecksums.cmake)
include(CPack)
