# Run by CPack after it has made the packages (CPACK_POST_BUILD_SCRIPTS). CPack's generator calls
# ldconfig from postinst and postrm of a package with a shared library; Debian wants the
# "activate-noawait ldconfig" trigger instead. The run-time package is rebuilt with the trigger and
# without the two scripts; its files are not touched.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    get_filename_component(name "${deb}" NAME)
    if(NOT name MATCHES "^libtzc04182-[0-9]+_")
        continue()
    endif()
    set(tree "${CPACK_TOPLEVEL_DIRECTORY}/ldconfig-trigger")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE "${tree}/DEBIAN/postinst" "${tree}/DEBIAN/postrm")
    file(WRITE "${tree}/DEBIAN/triggers" "activate-noawait ldconfig\n")
    file(CHMOD "${tree}/DEBIAN/triggers" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${deb}"
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
