# The Windows voice under Wine: the module reaches SAPI through COM (an ISpVoice and a voice token
# are there), but Wine 8.0's ISpVoice::Speak is a stub that answers E_NOTIMPL, so the call goes on
# with the silent voice and the trace says why, before the first prompt.
if(TZC_TESTS_RUN)
    add_test(NAME Windows.Voice.SapiReachedSilentWithAReason COMMAND tzc-host)
    set_tests_properties(Windows.Voice.SapiReachedSilentWithAReason PROPERTIES TIMEOUT 300
        ENVIRONMENT "TZC_SCREEN=headless;TZC_VOICE=1;TZC_TRACE=1;TZC_INPUT={Escape}"
        PASS_REGULAR_EXPRESSION "voice unavailable: SAPI speaks nothing here: 0x80004001\r?\nvoice: Informe o CPF ou CNPJ")
endif()
