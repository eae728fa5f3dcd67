// eSpeak NG through its C API, opened with dlopen when a voice is asked for: a till without
// the voice loads nothing more than before, and one without the library is told so.
#include <dlfcn.h>
#include <espeak-ng/speak_lib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "host/voice/system_voice.h"

namespace host {

namespace {

struct EspeakApi {
    decltype(&espeak_Initialize) Initialize;
    decltype(&espeak_SetVoiceByName) SetVoiceByName;
    decltype(&espeak_SetParameter) SetParameter;
    decltype(&espeak_SetSynthCallback) SetSynthCallback;
    decltype(&espeak_Synth) Synth;
    decltype(&espeak_IsPlaying) IsPlaying;
    decltype(&espeak_Cancel) Cancel;
};

template <typename Function>
void Bind(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (function == nullptr)
        throw std::runtime_error(std::string("libespeak-ng has no ") + name);
}

// Kept loaded once opened: its audio back ends register handlers of their own. Found already
// loaded, it was started by an earlier load of this module (or by the host): a second start in one
// process runs two audio threads on one queue, which hangs or crashes, so it is refused.
const EspeakApi& Api()
{
    static const EspeakApi api = [] {
        if (void* loaded = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_NOLOAD)) {
            dlclose(loaded);
            throw std::runtime_error("eSpeak NG was started in this process before this load of the module "
                                     "and cannot be started again");
        }
        void* library = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            throw std::runtime_error(std::string("eSpeak NG is not installed: ") + dlerror());
        EspeakApi bound{};
        Bind(library, "espeak_Initialize", bound.Initialize);
        Bind(library, "espeak_SetVoiceByName", bound.SetVoiceByName);
        Bind(library, "espeak_SetParameter", bound.SetParameter);
        Bind(library, "espeak_SetSynthCallback", bound.SetSynthCallback);
        Bind(library, "espeak_Synth", bound.Synth);
        Bind(library, "espeak_IsPlaying", bound.IsPlaying);
        Bind(library, "espeak_Cancel", bound.Cancel);
        return bound;
    }();
    return api;
}

// The sample rate of eSpeak NG started for `output`. It keeps its state in globals and, once it
// has played to a device, hangs in espeak_Terminate or crashes when started again (1.51): so it
// is started once per process, in the way first asked for, and never ended.
int StartedEngine(const EspeakApi& api, espeak_AUDIO_OUTPUT output)
{
    static std::optional<espeak_AUDIO_OUTPUT> started;
    static int sample_rate = 0;
    if (!started) {
        sample_rate = api.Initialize(output, 0, nullptr, 0);
        if (sample_rate <= 0)
            throw std::runtime_error("eSpeak NG did not start (no voice data?)");
        started = output;
    }
    if (*started != output)
        throw std::runtime_error(output == AUDIO_OUTPUT_PLAYBACK
                                     ? "eSpeak NG writes WAV files in this process and cannot also play"
                                     : "eSpeak NG plays in this process and cannot also write WAV files");
    return sample_rate;
}

// The one engine, set up for a voice; used on one thread at a time (the queue's, or the dialog's
// for WAV files).
class Engine {
public:
    Engine(espeak_AUDIO_OUTPUT output, const VoiceSettings& settings)
        : api_(Api()), sample_rate_(StartedEngine(api_, output))
    {
        const std::string name = settings.name.empty() ? "pt-br" : settings.name;
        if (api_.SetVoiceByName(name.c_str()) != EE_OK)
            throw std::runtime_error("eSpeak NG has no voice \"" + name + "\"");
        // Every voice sets it afresh: the engine keeps the last one's.
        api_.SetParameter(espeakVOLUME, settings.volume.value_or(100), 0);
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const EspeakApi& api() const { return api_; }
    int sample_rate() const { return sample_rate_; }
    void Synth(const std::string& utf8_text, void* user_data) const
    {
        api_.Synth(utf8_text.c_str(), utf8_text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                   user_data);
    }

private:
    const EspeakApi& api_;
    int sample_rate_ = 0;
};

class PlaybackSpeaker final : public Speaker {
public:
    explicit PlaybackSpeaker(const VoiceSettings& settings) : engine_(AUDIO_OUTPUT_PLAYBACK, settings) {}
    void Start(const std::string& utf8_text) override { engine_.Synth(utf8_text, nullptr); }
    bool Speaking() override { return engine_.api().IsPlaying() != 0; }
    void Stop() override { engine_.api().Cancel(); }

private:
    Engine engine_;
};

void PutLe(std::vector<unsigned char>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// 16-bit mono PCM in a RIFF WAVE file.
void WriteWav(const std::string& path, const std::vector<int16_t>& samples, int sample_rate)
{
    const auto data_bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<unsigned char> file;
    file.reserve(44 + data_bytes);
    file.insert(file.end(), {'R', 'I', 'F', 'F'});
    PutLe(file, 36 + data_bytes, 4);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(file, 16, 4);
    PutLe(file, 1, 2);  // PCM
    PutLe(file, 1, 2);  // mono
    PutLe(file, static_cast<uint32_t>(sample_rate), 4);
    PutLe(file, static_cast<uint32_t>(sample_rate) * 2, 4);
    PutLe(file, 2, 2);
    PutLe(file, 16, 2);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    PutLe(file, data_bytes, 4);
    for (const int16_t sample : samples)
        PutLe(file, static_cast<uint16_t>(sample), 2);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        throw std::runtime_error("cannot write " + path);
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (std::fclose(out) != 0 || !written)
        throw std::runtime_error("cannot write " + path);
}

class WavSpeaker final : public Speaker {
public:
    WavSpeaker(std::string directory, const VoiceSettings& settings)
        : engine_(AUDIO_OUTPUT_SYNCHRONOUS, settings), directory_(std::move(directory))
    {
        engine_.api().SetSynthCallback(&WavSpeaker::Collect);
    }
    void Start(const std::string& utf8_text) override
    {
        std::vector<int16_t> samples;
        engine_.Synth(utf8_text, &samples);
        char name[16];
        std::snprintf(name, sizeof name, "%04d.wav", ++count_);
        WriteWav(directory_ + "/" + name, samples, engine_.sample_rate());
    }
    bool Speaking() override { return false; }
    void Stop() override {}

private:
    static int Collect(short* wav, int count, espeak_EVENT* events)
    {
        if (wav != nullptr && count > 0 && events != nullptr && events->user_data != nullptr)
            static_cast<std::vector<int16_t>*>(events->user_data)->insert(
                static_cast<std::vector<int16_t>*>(events->user_data)->end(), wav, wav + count);
        return 0;
    }

    Engine engine_;
    std::string directory_;
    int count_ = 0;
};

}  // namespace

SpeakerFactory SystemSpeaker(const VoiceSettings& settings)
{
    return [settings] { return std::make_unique<PlaybackSpeaker>(settings); };
}

SpeakerFactory WavFileSpeaker(const std::string& directory, const VoiceSettings& settings)
{
    return [directory, settings] { return std::make_unique<WavSpeaker>(directory, settings); };
}

}  // namespace host
