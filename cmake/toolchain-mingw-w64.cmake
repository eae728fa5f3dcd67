# Cross-builds for 64-bit Windows: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake
set(TZC_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
