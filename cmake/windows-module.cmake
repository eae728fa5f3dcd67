# The module as a Windows DLL (mingw-w64): tzc04182.dll with undecorated exports, linked with the C
# and C++ runtimes (the toolchain's -static), importing only the system's DLLs.
set_target_properties(tzc04182 PROPERTIES PREFIX "")

# The version resource that Explorer's Details, installers and inventories read: the version is
# project()'s, the one the whole build uses.
enable_language(RC)
set(TZC_COMPANY "Seed 1c0dd1ee maintainers")
set(TZC_DESCRIPTION "Tzc04182 customer data dialog for Brazilian fiscal receipts")
set(TZC_COPYRIGHT "Copyright 2026 Seed 1c0dd1ee maintainers")
configure_file(${CMAKE_CURRENT_LIST_DIR}/tzc04182.rc.in ${CMAKE_CURRENT_BINARY_DIR}/tzc04182.rc @ONLY)
target_sources(tzc04182 PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/tzc04182.rc)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # stdcall names are decorated (name@bytes): the DLL exports them plain, as hosts import them,
    # and an import library is rebuilt from the decorated list so that C hosts still link.
    set(def ${CMAKE_CURRENT_BINARY_DIR}/tzc04182.def)
    target_link_options(tzc04182 PRIVATE -Wl,--kill-at -Wl,--output-def,${def})
    add_custom_command(TARGET tzc04182 POST_BUILD
        COMMAND sed -E "s/^([[:space:]]*)[^[:space:]]+ = ([^[:space:]]+@[0-9]+)/\\1\\2/" ${def} > ${def}.decorated
        COMMAND ${CMAKE_DLLTOOL} --input-def ${def}.decorated --dllname $<TARGET_FILE_NAME:tzc04182>
                --output-lib $<TARGET_LINKER_FILE:tzc04182> --kill-at
        VERBATIM)
endif()
