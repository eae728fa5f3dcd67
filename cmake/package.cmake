# Debian packages made by CPack, one per install component (scripts/package configures the tree
# with the prefix /usr and runs it):
#   libtzc04182-<SOVERSION>  Runtime      the module and its SONAME link
#   libtzc04182-dev          Development  headers, Pascal unit, pkg-config, CMake package, guide, examples,
#                                         the C# and Java bindings
#   tzc04182-tools           Tools        tzc-host and its manual page
# What only a package carries (copyright, changelog, lintian overrides, guide, examples, manual
# page) is left out of a plain `cmake --install`.
set(TZC_DEBIAN_SOURCE ${CMAKE_CURRENT_LIST_DIR}/debian)
set(TZC_DEBIAN_GENERATED ${CMAKE_BINARY_DIR}/debian)
set(TZC_DEB_RUNTIME libtzc04182-${TZC_SOVERSION})
set(TZC_DEB_DEVELOPMENT libtzc04182-dev)
set(TZC_DEB_TOOLS tzc04182-tools)

# The changelog's first entry gives the Debian revision; its upstream version is checked by
# scripts/package, so that a version raised without an entry cannot be released.
file(STRINGS ${TZC_DEBIAN_SOURCE}/changelog TZC_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT TZC_CHANGELOG_TOP MATCHES "^tzc04182 \\(([^ -]+)-([0-9A-Za-z.+~]+)\\)")
    message(FATAL_ERROR "${TZC_DEBIAN_SOURCE}/changelog: no version on its first line")
endif()
set(TZC_DEB_REVISION ${CMAKE_MATCH_2})

# Debian wants both compressed at the maximum and without a time stamp.
file(MAKE_DIRECTORY ${TZC_DEBIAN_GENERATED})
foreach(file IN ITEMS changelog tzc-host.1)
    execute_process(COMMAND gzip -9nc ${TZC_DEBIAN_SOURCE}/${file}
        OUTPUT_FILE ${TZC_DEBIAN_GENERATED}/${file}.gz COMMAND_ERROR_IS_FATAL ANY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TZC_DEBIAN_SOURCE}/${file})
endforeach()

foreach(component IN ITEMS Runtime Development Tools)
    string(TOUPPER ${component} COMPONENT)
    set(package ${TZC_DEB_${COMPONENT}})
    set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_NAME ${package})
    install(FILES ${TZC_DEBIAN_SOURCE}/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component} EXCLUDE_FROM_ALL)
    install(FILES ${TZC_DEBIAN_GENERATED}/changelog.gz RENAME changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component} EXCLUDE_FROM_ALL)
    install(FILES ${TZC_DEBIAN_SOURCE}/lintian-overrides RENAME ${package}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()
set(TZC_DEV_DOC ${CMAKE_INSTALL_DATAROOTDIR}/doc/${TZC_DEB_DEVELOPMENT})
install(FILES ${CMAKE_SOURCE_DIR}/docs/integration.md ${CMAKE_SOURCE_DIR}/docs/architecture.md
    DESTINATION ${TZC_DEV_DOC} COMPONENT Development EXCLUDE_FROM_ALL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${TZC_DEV_DOC}/examples
    COMPONENT Development EXCLUDE_FROM_ALL
    PATTERN "windows" EXCLUDE  # in the Windows zip
    PATTERN "*.o" EXCLUDE PATTERN "*.ppu" EXCLUDE PATTERN "*.exe" EXCLUDE PATTERN "__pycache__" EXCLUDE)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/bindings/ DESTINATION ${TZC_DEV_DOC}/bindings
    COMPONENT Development EXCLUDE_FROM_ALL)
install(FILES ${TZC_DEBIAN_GENERATED}/tzc-host.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Tools EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tzc04182)
set(CPACK_PACKAGE_CONTACT "Seed 1c0dd1ee maintainers <maintainers@users.noreply.c-seed-1c0dd1ee.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Development Tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TZC_DEB_REVISION})
set(CPACK_DEBIAN_PACKAGE_SOURCE tzc04182)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_POST_BUILD_SCRIPTS ${TZC_DEBIAN_SOURCE}/ldconfig-trigger.cmake)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
# tzc-host loads the module at run time, which dpkg-shlibdeps cannot see.
set(CPACK_COMPONENT_TOOLS_DEPENDS Runtime)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# The dialog draws its text in Liberation Sans, which has Arial's metrics.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS fonts-liberation2)
# X11 and the framebuffer come with Qt 6 Gui; the other displays a till may have are Qt packages
# of their own: Wayland, the GPU without a window system (eglfs), VNC.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SUGGESTS "qt6-wayland, libqt6opengl6, qt6-qpa-plugins")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "customer data dialog for Brazilian fiscal receipts
The module that a point-of-sale application loads to ask the customer at the
till, on a touch screen, for what goes on a Brazilian fiscal receipt: the CPF
or CNPJ, name and address, or a telephone, a promotional code, a receipt
e-mail, a consumer search text or a foreign identification.
.
This package holds the module, libtzc04182.so.${TZC_SOVERSION}.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "customer data dialog for Brazilian fiscal receipts (development)
What a host of the tzc04182 module builds against: the C and C++ headers,
the Object Pascal unit, the pkg-config file, the CMake package
(find_package(Tzc04182)), the integration guide and example hosts in C,
C++ (one a Qt Widgets application), Python and Free Pascal.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "customer data dialog for Brazilian fiscal receipts (host program)
tzc-host calls the tzc04182 module as a point-of-sale application does, with
parameters from its command line, and prints the answers; with a scripted
customer it runs without a screen.")

include(CPack)
