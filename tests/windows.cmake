# Tests of the Windows build (mingw-w64, run under Wine through the toolchain's emulator): the
# platform-independent unit tests, the C header host, and the DLL's export and import tables.
# GoogleTest comes from Debian's sources, built here with the same toolchain.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main)
    target_compile_options(${target} PRIVATE -Wno-error)
endforeach()

add_subdirectory(support)

# The time limits catch a hang. A 32-bit program may run under the i386 emulator: wider limits
# there.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TZC_WINE_TIMEOUT 1200)
else()
    set(TZC_WINE_TIMEOUT 300)
endif()

# Linux-only: they fork, dlopen, popen or read /proc; the Windows host programs below cover the
# branch file and the loaded module instead.
file(GLOB TZC_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
list(FILTER TZC_TEST_SOURCES EXCLUDE REGEX "/(hostile|branch_file)_test\\.cpp$")

add_executable(tzc_tests ${TZC_TEST_SOURCES})
target_include_directories(tzc_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tzc_tests PRIVATE tzc_test_support tzc_test_main)
target_compile_definitions(tzc_tests PRIVATE
    TZC_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
    TZC_HOST="$<TARGET_FILE:tzc-host>"
    TZC_TESTS_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
# Cases that start tzc-host through a Linux shell (popen) run in the Linux tree only.
set(TZC_LINUX_ONLY_CASES "AlphanumericCnpj.TzcHost*")
# One Wine process per shard rather than per test: a start under Wine costs far more than a test.
set(_shards 2)
math(EXPR _last_shard "${_shards} - 1")
foreach(shard RANGE ${_last_shard})
    add_test(NAME Windows.UnitTests.${shard} COMMAND tzc_tests --gtest_brief=1 --gtest_filter=-${TZC_LINUX_ONLY_CASES})
    set_tests_properties(Windows.UnitTests.${shard} PROPERTIES TIMEOUT ${TZC_WINE_TIMEOUT}
        ENVIRONMENT "TZC_SCREEN=headless;TZC_INPUT=;TZC_TRACE=;GTEST_TOTAL_SHARDS=${_shards};GTEST_SHARD_INDEX=${shard}")
endforeach()

# The test main's printer, with a second thread alive.
add_executable(tzc_failing_tests tools/failing_tests.cpp)
target_link_libraries(tzc_failing_tests PRIVATE tzc_test_main)
add_test(NAME Windows.TestMain.FailureShowsItsMessage
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/test_main_test.sh ${CMAKE_SOURCE_DIR}/scripts/wine-run
            $<TARGET_FILE:tzc_failing_tests>)
set_tests_properties(Windows.TestMain.FailureShowsItsMessage PROPERTIES TIMEOUT ${TZC_WINE_TIMEOUT})

# A host written in C against the public header alone, linked with the import library.
add_executable(c_header_host c/c_header_host.c)
target_include_directories(c_header_host PRIVATE ${CMAKE_SOURCE_DIR}/include)
target_link_libraries(c_header_host PRIVATE tzc04182)
add_test(NAME Windows.CHeaderHost.TypicalCall COMMAND c_header_host)
set_tests_properties(Windows.CHeaderHost.TypicalCall PROPERTIES
    ENVIRONMENT "TZC_SCREEN=headless;TZC_INPUT=52998224725{Enter}Gonçalves{Enter}Rua A 1{Enter}"
    PASS_REGULAR_EXPRESSION "0=52998224725\r?\n1=Gonçalves\r?\n2=Rua A 1\r?\n3=N\r?\n4=N\r?\n5=N\r?\n6=\r?\n7=N\r?\n")

# Hosts as tills build them, each calling the DLL many times with a scripted customer and the
# branch file beside it: the C host with the system's OLE, the Free Pascal host with its own
# OleVariants through the raw import (Free Pascal for Win64 or Win32, see windows_hosts_test.sh).
add_subdirectory(${CMAKE_SOURCE_DIR}/examples/windows ${CMAKE_BINARY_DIR}/examples/windows)
foreach(host c pascal)
    add_test(NAME Windows.Hosts.${host}
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows_hosts_test.sh ${host} ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
    set_tests_properties(Windows.Hosts.${host} PROPERTIES TIMEOUT ${TZC_WINE_TIMEOUT})
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/windows_voice.cmake)

# What a host's loader sees: the exports, the C entries alone and undecorated, with their
# conventions, imports of system DLLs only, and the version resource. Needs no Wine.
add_test(NAME Windows.DllTables
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows_dll_test.sh $<TARGET_FILE:tzc04182> ${CMAKE_OBJDUMP}
            ${CMAKE_SYSTEM_PROCESSOR} ${CMAKE_SOURCE_DIR})
