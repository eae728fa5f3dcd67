# Installs the module for hosts: the library with its SONAME links, the C and C++ headers, a CMake
# package (find_package(Tzc04182) -> Tzc04182::tzc04182), a pkg-config file and tzc-host.
# Components, one per Debian package: Runtime (the module), Development (what a host builds
# against), Tools (tzc-host).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS tzc04182 EXPORT Tzc04182Targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
    PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${CMAKE_SOURCE_DIR}/include/tzc04182.hpp ${CMAKE_SOURCE_DIR}/include/Tzc04182.pas
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development)
install(TARGETS tzc-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)

get_target_property(TZC_SOVERSION tzc04182 SOVERSION)
set(TZC_GENERATED ${CMAKE_BINARY_DIR}/cmake)
set(TZC_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tzc04182)
install(EXPORT Tzc04182Targets NAMESPACE Tzc04182:: DESTINATION ${TZC_CMAKE_DIR} COMPONENT Development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/Tzc04182Config.cmake.in
    ${TZC_GENERATED}/Tzc04182Config.cmake INSTALL_DESTINATION ${TZC_CMAKE_DIR})
# A host built for 1.x keeps working with any later 1.y: the SONAME changes only with the major.
write_basic_package_version_file(${TZC_GENERATED}/Tzc04182ConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${TZC_GENERATED}/Tzc04182Config.cmake ${TZC_GENERATED}/Tzc04182ConfigVersion.cmake
    DESTINATION ${TZC_CMAKE_DIR} COMPONENT Development)

# The .pc file finds its prefix from where it lies, so `cmake --install --prefix P` may choose
# any P after configuring. System packages write their prefix instead: pkg-config then drops the
# system folders from the flags, and a sysroot applies.
option(TZC_PC_FIXED_PREFIX "Write CMAKE_INSTALL_PREFIX into tzc04182.pc instead of a relocatable prefix" OFF)
set(TZC_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(TZC_PC_FIXED_PREFIX OR IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(TZC_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
    file(RELATIVE_PATH TZC_PC_UP /${TZC_PKGCONFIG_DIR} /)
    string(REGEX REPLACE "/$" "" TZC_PC_UP "${TZC_PC_UP}")
    set(TZC_PC_PREFIX "\${pcfiledir}/${TZC_PC_UP}")
endif()
foreach(dir LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
        set(TZC_PC_${dir} "${CMAKE_INSTALL_${dir}}")
    else()
        set(TZC_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
    endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/tzc04182.pc.in ${TZC_GENERATED}/tzc04182.pc @ONLY)
install(FILES ${TZC_GENERATED}/tzc04182.pc DESTINATION ${TZC_PKGCONFIG_DIR} COMPONENT Development)
