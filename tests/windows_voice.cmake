# The Windows voice under Wine: the module reaches SAPI through COM (an ISpVoice and a voice token
# are there), but Wine 8.0's ISpVoice::Speak is a stub that answers E_NOTIMPL, so the call goes on
# with the silent voice and the trace says why, before the first prompt.
# These run in the 64-bit tree, for code the two DLLs share.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    return()
endif()
add_test(NAME Windows.Voice.SapiReachedSilentWithAReason COMMAND tzc-host)
set_tests_properties(Windows.Voice.SapiReachedSilentWithAReason PROPERTIES TIMEOUT ${TZC_WINE_TIMEOUT}
    ENVIRONMENT "TZC_SCREEN=headless;TZC_VOICE=1;TZC_TRACE=1;TZC_INPUT={Escape}"
    PASS_REGULAR_EXPRESSION "voice unavailable: SAPI speaks nothing here: 0x80004001\r?\nvoice: Informe o CPF ou CNPJ")

# Hosts that exit after a call, free the DLL after a call, exit without a call, or free it and load
# it again, with the voice on: each ends at once (the voice ends with each call; here it is the
# silent one, as above).
add_executable(exit_host c/exit_host.c)
target_include_directories(exit_host PRIVATE ${CMAKE_SOURCE_DIR}/include)
add_dependencies(exit_host tzc04182)
add_test(NAME Windows.Voice.HostsEndAtOnceWithTheVoiceOn
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/voice_exit_test.sh $<TARGET_FILE:exit_host> tzc04182.dll
            ${CMAKE_SOURCE_DIR}/scripts/wine-run)
set_tests_properties(Windows.Voice.HostsEndAtOnceWithTheVoiceOn PROPERTIES TIMEOUT ${TZC_WINE_TIMEOUT})
