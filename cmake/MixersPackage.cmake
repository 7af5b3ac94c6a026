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
# 14 KB from it), the package gets copies of the three libraries built without.
set(package_targets "")
foreach(library IN ITEMS core platform mixers)
  set(target ${library})
  if(CMAKE_INTERPROCEDURAL_OPTIMIZATION)
    set(target ${library}_package)
    get_target_property(sources ${library} SOURCES)
    add_library(${target} STATIC ${sources})
    set_target_properties(${target} PROPERTIES INTERPROCEDURAL_OPTIMIZATION OFF EXPORT_NAME ${library})
    lullscreen_target_options(${target})
  endif()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME lullscreen_${library})
  list(APPEND package_targets ${target})
endforeach()
if(CMAKE_INTERPROCEDURAL_OPTIMIZATION)
  target_include_directories(core_package PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
                                                 $<INSTALL_INTERFACE:${MIXERS_INCLUDE_DIR}>)
  target_link_libraries(platform_package PUBLIC core_package $<$<BOOL:${WIN32}>:user32> $<$<BOOL:${WIN32}>:kernel32>)
  target_link_libraries(mixers_package PUBLIC platform_package)
endif()

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
