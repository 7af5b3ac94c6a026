# The mixer library as a CMake package for other projects:
#
#   find_package(LullscreenMixers CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE Lullscreen::mixers)
#
# `cmake --install` (component "library") puts the library and the two it
# stands on (core: text and exceptions; platform: the seams, and on Windows the
# system's adapters) under lib/, their headers under include/lullscreen/, and
# the package files under lib/cmake/LullscreenMixers. Only the system libraries
# the library itself uses follow it: winmm, user32 and kernel32.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(MIXERS_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/lullscreen)
set(MIXERS_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/LullscreenMixers)
target_include_directories(core PUBLIC $<INSTALL_INTERFACE:${MIXERS_INCLUDE_DIR}>)
set_target_properties(core PROPERTIES OUTPUT_NAME lullscreen_core)
if(WIN32)  # elsewhere the seams are headers only
  set_target_properties(platform PROPERTIES OUTPUT_NAME lullscreen_platform)
endif()
set_target_properties(mixers PROPERTIES OUTPUT_NAME lullscreen_mixers)

# A link-time optimised build keeps machine code in the archives too, so that a
# project that links them without link-time optimisation (or with another
# compiler version) still can.
if(CMAKE_INTERPROCEDURAL_OPTIMIZATION AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  foreach(target core platform mixers)
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      target_compile_options(${target} PRIVATE -ffat-lto-objects)
    endif()
  endforeach()
endif()

install(TARGETS core platform mixers EXPORT LullscreenMixersTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT library)
file(GLOB MIXERS_CORE_HEADERS ${PROJECT_SOURCE_DIR}/core/*.h)
file(GLOB MIXERS_HEADERS ${PROJECT_SOURCE_DIR}/mixers/*.h)
install(FILES ${MIXERS_CORE_HEADERS} DESTINATION ${MIXERS_INCLUDE_DIR}/core COMPONENT library)
install(FILES ${MIXERS_HEADERS} DESTINATION ${MIXERS_INCLUDE_DIR}/mixers COMPONENT library)
# Of the seams, only those the library takes.
install(FILES platform/WinTypes.h platform/Kernel32.h platform/User32.h platform/Winmm.h platform/MixerPlatform.h
        DESTINATION ${MIXERS_INCLUDE_DIR}/platform COMPONENT library)

install(EXPORT LullscreenMixersTargets NAMESPACE Lullscreen:: DESTINATION ${MIXERS_PACKAGE_DIR}
        COMPONENT library)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/LullscreenMixersConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/LullscreenMixersConfig.cmake INSTALL_DESTINATION ${MIXERS_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LullscreenMixersConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LullscreenMixersConfig.cmake ${PROJECT_BINARY_DIR}/LullscreenMixersConfigVersion.cmake
        DESTINATION ${MIXERS_PACKAGE_DIR} COMPONENT library)
