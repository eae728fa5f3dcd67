# The fuzzers of the scripted customer (fuzz_script) and of the two vectors (fuzz_params). The
# whole system is compiled again with coverage feedback and the sanitizers, together with the
# test support that plays customers; the screen is headless, so Qt stays out.
file(GLOB TZC_FUZZED_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/host/text/*.cpp ${CMAKE_SOURCE_DIR}/host/variant/*.cpp
    ${CMAKE_SOURCE_DIR}/host/dataset/*.cpp ${CMAKE_SOURCE_DIR}/host/forms/*.cpp
    ${CMAKE_SOURCE_DIR}/host/screens/*.cpp ${CMAKE_SOURCE_DIR}/host/services/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/*.cpp ${TZC_SYSTEM_SOURCES})
# This tree is for Linux: the Windows allocation stays out.
list(FILTER TZC_FUZZED_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
add_library(tzc_core_for_fuzzing STATIC ${TZC_FUZZED_SOURCES})
target_include_directories(tzc_core_for_fuzzing PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(tzc_core_for_fuzzing PUBLIC TZC_VERSION="${PROJECT_VERSION}")
target_compile_options(tzc_core_for_fuzzing PRIVATE -fsanitize=fuzzer-no-link,address,undefined
    -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
target_link_libraries(tzc_core_for_fuzzing PUBLIC ${CMAKE_DL_LIBS})

foreach(name script params)
    add_executable(fuzz_${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}_fuzz.cpp)
    target_link_libraries(fuzz_${name} PRIVATE tzc_core_for_fuzzing)
    target_compile_options(fuzz_${name} PRIVATE ${TZC_FUZZ_FLAGS})
    target_link_options(fuzz_${name} PRIVATE ${TZC_FUZZ_FLAGS})
endforeach()
