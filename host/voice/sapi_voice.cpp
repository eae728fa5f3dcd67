// SAPI's ISpVoice through COM, made on the speech queue's thread in an apartment of its own, so
// the host's own COM use on its threads is never touched.
#include <windows.h>
#include <sapi.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "host/voice/system_voice.h"

namespace host {

namespace {

std::string HexResult(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

class ComApartment {
public:
    ComApartment()
    {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (FAILED(hr))
            throw std::runtime_error("COM did not start: " + HexResult(hr));
    }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (pointer_ != nullptr)
            pointer_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface** Out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface* pointer_ = nullptr;
};

std::wstring Wide(const std::string& utf8_text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(), static_cast<int>(utf8_text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(), static_cast<int>(utf8_text.size()), wide.data(), length);
    return wide;
}

class SapiSpeaker final : public Speaker {
public:
    explicit SapiSpeaker(const VoiceSettings& settings)
    {
        const HRESULT made = CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                              reinterpret_cast<void**>(voice_.Out()));
        if (FAILED(made) || !voice_)
            throw std::runtime_error("SAPI has no ISpVoice: " + HexResult(made));
        // An ISpVoice without a voice token would take every text and say none of it.
        ComPtr<ISpObjectToken> token;
        const HRESULT found = voice_->GetVoice(token.Out());
        if (FAILED(found) || !token)
            throw std::runtime_error("SAPI has no voice installed: " + HexResult(found));
        // Wine's SAPI (8.0) has an ISpVoice and a voice token whose Speak is a stub that says nothing.
        const HRESULT spoke = voice_->Speak(L"", SPF_IS_NOT_XML, nullptr);
        if (FAILED(spoke))
            throw std::runtime_error("SAPI speaks nothing here: " + HexResult(spoke));
        if (settings.volume)
            voice_->SetVolume(static_cast<USHORT>(*settings.volume));
    }
    void Start(const std::string& utf8_text) override
    {
        const std::wstring text = Wide(utf8_text);
        const HRESULT hr = voice_->Speak(text.c_str(), SPF_ASYNC | SPF_IS_NOT_XML, nullptr);
        if (FAILED(hr))
            throw std::runtime_error("SAPI did not speak: " + HexResult(hr));
    }
    bool Speaking() override { return voice_->WaitUntilDone(0) == S_FALSE; }
    void Stop() override { voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr); }

private:
    ComApartment apartment_;
    ComPtr<ISpVoice> voice_;
};

}  // namespace

SpeakerFactory SystemSpeaker(const VoiceSettings& settings)
{
    return [settings] { return std::make_unique<SapiSpeaker>(settings); };
}

SpeakerFactory WavFileSpeaker(const std::string&, const VoiceSettings&)
{
    return []() -> std::unique_ptr<Speaker> {
        throw std::runtime_error("this build writes no WAV files (eSpeak NG is the Linux voice's)");
    };
}

}  // namespace host
