# What the two mingw-w64 toolchain files share; each sets TZC_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR
# and includes this file.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: std::thread and std::mutex need it (the win32 model has neither in GCC 12).
set(CMAKE_C_COMPILER ${TZC_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TZC_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TZC_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TZC_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No host ships mingw's libgcc, libstdc++ or winpthread DLLs: link them into every DLL and program, so
# these import only the system's DLLs. The system's import libraries stay import libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine, with one Wine prefix per build tree.
cmake_path(ABSOLUTE_PATH CMAKE_CURRENT_LIST_DIR NORMALIZE OUTPUT_VARIABLE _tzc_cmake_dir)
cmake_path(GET _tzc_cmake_dir PARENT_PATH _tzc_source_dir)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_tzc_source_dir}/scripts/wine-run)
