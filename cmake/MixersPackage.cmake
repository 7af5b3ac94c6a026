# The mixer library as a CMake package for other projects:
#
#   find_package(LullscreenMixers CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE Lullscreen::mixers)
#
# `cmake --install` (component "library") puts the library and the two it
# stands on (core: text and exceptions; platform: the seams, and on Windows the
# system's adapters) under lib/, their headers under include/lullscreen/, and
# the package files under lib/cmake/LullscreenMixers. Only the system libraries
# the library itself uses follow it: user32 and kernel32 (winmm is loaded from
# the system folder when first used).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(MIXERS_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/lullscreen)
set(MIXERS_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/LullscreenMixers)
target_include_directories(core PUBLIC $<INSTALL_INTERFACE:${MIXERS_INCLUDE_DIR}>)

# The installed archives hold plain machine code. Link-time optimisation
# objects would tie a consumer to this compiler's version and to linking with
# it, and mingw's linker plugin cannot mix them with a consumer's plain
# objects. Where this build optimises at link time (the programs gain about
# 14 KB from it), the package gets a copy of each library built without.
#
# What ships is the mixer library and the project's libraries it links, found
# from the graph that CMakeLists.txt declares; a copy takes its library's
# sources, settings and links, each link to a project library turned into a
# link to that library's copy.
set(package_targets "")
function(mixers_package_add library)
  set(target ${library})
  if(CMAKE_INTERPROCEDURAL_OPTIMIZATION)
    set(target ${library}_package)
  endif()
  if(${target} IN_LIST package_targets)
    return()
  endif()
  get_target_property(links ${library} LINK_LIBRARIES)
  if(NOT links)
    set(links "")
  endif()
  set(copied_links "")
  foreach(link IN LISTS links)
    if(TARGET ${link})
      get_target_property(imported ${link} IMPORTED)
      get_target_property(type ${link} TYPE)
      if(NOT imported AND type STREQUAL "STATIC_LIBRARY")
        mixers_package_add(${link})
        if(CMAKE_INTERPROCEDURAL_OPTIMIZATION)
          set(link ${link}_package)
        endif()
      endif()
    endif()
    list(APPEND copied_links ${link})
  endforeach()
  if(CMAKE_INTERPROCEDURAL_OPTIMIZATION)
    get_target_property(sources ${library} SOURCES)
    add_library(${target} STATIC ${sources})
    foreach(property IN ITEMS INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES COMPILE_OPTIONS COMPILE_DEFINITIONS
                              INTERFACE_COMPILE_DEFINITIONS)
      get_target_property(value ${library} ${property})
      if(value)
        set_property(TARGET ${target} PROPERTY ${property} ${value})
      endif()
    endforeach()
    set_target_properties(${target} PROPERTIES INTERPROCEDURAL_OPTIMIZATION OFF EXPORT_NAME ${library})
    # Every link of a static library reaches its consumers.
    target_link_libraries(${target} PUBLIC ${copied_links})
  endif()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME lullscreen_${library})
  set(package_targets ${package_targets} ${target} PARENT_SCOPE)
endfunction()
mixers_package_add(mixers)

install(TARGETS ${package_targets} EXPORT LullscreenMixersTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT library)
# The public headers: the library's, and those they include. The seams of the
# program (power, lock, privilege, COM) and the library's internals stay home.
install(FILES core/Exception.h core/Text.h core/Unique.h DESTINATION ${MIXERS_INCLUDE_DIR}/core COMPONENT library)
install(FILES mixers/Mixers.h mixers/Mixer.h mixers/MixerCtrl.h mixers/MixerDev.h mixers/MixerItem.h
              mixers/MixerTypes.h DESTINATION ${MIXERS_INCLUDE_DIR}/mixers COMPONENT library)
install(FILES platform/WinTypes.h platform/Loader.h platform/MixerPlatform.h platform/MixerKernel32.h
              platform/MixerUser32.h platform/Winmm.h DESTINATION ${MIXERS_INCLUDE_DIR}/platform COMPONENT library)

install(EXPORT LullscreenMixersTargets NAMESPACE Lullscreen:: DESTINATION ${MIXERS_PACKAGE_DIR}
        COMPONENT library)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/LullscreenMixersConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/LullscreenMixersConfig.cmake INSTALL_DESTINATION ${MIXERS_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LullscreenMixersConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LullscreenMixersConfig.cmake ${PROJECT_BINARY_DIR}/LullscreenMixersConfigVersion.cmake
        DESTINATION ${MIXERS_PACKAGE_DIR} COMPONENT library)
