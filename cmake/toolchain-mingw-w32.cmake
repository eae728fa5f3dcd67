# Cross-builds for 32-bit Windows: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w32.cmake
set(TZC_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
# Wine's 32-bit loader is a 32-bit Linux program: a kernel with its 32-bit emulation off (some virtual
# machines) runs no Win32 program at all. The build still makes the DLL; tests are registered only
# when they can run.
execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE _tzc_wine32_result
                OUTPUT_QUIET ERROR_QUIET)
if(_tzc_wine32_result EQUAL 0)
    set(TZC_WINE_CAN_RUN ON)
else()
    set(TZC_WINE_CAN_RUN OFF)
endif()
