#include "entry/voice_choice.h"

#include <charconv>
#include <stdexcept>
#include <string>

#include "host/text/environment.h"
#include "host/text/trace.h"
#include "host/voice/silent_voice.h"
#include "host/voice/system_voice.h"

namespace Cli_Tzc04182 {

namespace {

std::optional<int> Volume(const std::string& text)
{
    int volume = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), volume);
    if (error != std::errc() || end != text.data() + text.size() || volume < 0 || volume > 100)
        return std::nullopt;
    return volume;
}

std::unique_ptr<host::Voice> MakeVoice(const std::string& name, const host::VoiceSettings& settings)
{
    if (name == "silent")
        return std::make_unique<host::SilentVoice>();
    if (name.starts_with("wav:"))
        return std::make_unique<host::ImmediateVoice>(host::WavFileSpeaker(name.substr(4), settings));
    return std::make_unique<host::QueuedVoice>(host::SystemSpeaker(settings));
}

}  // namespace

namespace {

// The current voice as chosen: the setting it was made for (empty when it is a fallback, to be
// tried again), and whether it speaks on a thread of its own.
struct Choice {
    std::string made_for;
    bool threaded = false;
};

Choice& CurrentChoice()
{
    static Choice choice;
    return choice;
}

bool SpeaksOnItsOwnThread(const std::string& name) { return name != "silent" && !name.starts_with("wav:"); }

}  // namespace

VoiceOfOneCall::~VoiceOfOneCall()
{
    Choice& choice = CurrentChoice();
    if (!choice.threaded)
        return;
    host::SetVoice(nullptr);
    choice = {};
}

void EnsureVoice()
{
    Choice& choice = CurrentChoice();
    try {
        const std::string name = host::EnvironmentVariable("TZC_VOICE").value_or("");
        if (name.empty() || name == "0") {
            if (host::CurrentVoice() != nullptr)
                host::SetVoice(nullptr);
            choice = {};
            return;
        }
        const std::string volume = host::EnvironmentVariable("TZC_VOICE_VOLUME").value_or("");
        const std::string setting = name + '\n' + volume;
        if (host::CurrentVoice() != nullptr && setting == choice.made_for)
            return;
        // One engine at a time: eSpeak NG keeps its state in globals.
        host::SetVoice(nullptr);
        choice = {};
        const host::VoiceSettings settings{name == "1" || name == "silent" || name.starts_with("wav:") ? "" : name,
                                           Volume(volume)};
        try {
            host::SetVoice(MakeVoice(name, settings));
            choice = {setting, SpeaksOnItsOwnThread(name)};
        } catch (const std::exception& why) {
            host::Trace("voice unavailable", why.what());
            host::SetVoice(std::make_unique<host::SilentVoice>());
        }
    } catch (...) {
        // Without a voice the call goes on as it always did.
    }
}

}  // namespace Cli_Tzc04182
