#pragma once
// Which voice guides the customer, chosen where the module is put together, at every call.
namespace Cli_Tzc04182 {

// TZC_VOICE unset, empty or "0": none, and nothing is loaded. "1": the system's speech
// (eSpeak NG's Brazilian Portuguese on Linux, SAPI on Windows); "silent": the trace alone;
// "wav:DIR": each utterance into a WAV file in DIR; anything else: the name of an eSpeak NG
// voice. TZC_VOICE_VOLUME=0..100 sets the volume. A voice that cannot be had is the silent one,
// said in a "voice unavailable: ..." trace line, and asked for again at the next call. Never throws.
void EnsureVoice();

// Held for the length of a call. A voice that speaks on a thread of its own (the system's) ends
// when the call returns, dropping what is still unsaid: kept for the next call, its thread would
// be joined when the host unloads the module, under the loader's lock, while the engine may need
// that lock to go on (eSpeak NG's audio thread opens ALSA's plugins; a Windows thread's exit
// takes it), and the host would hang. The silent and WAV voices have no thread and are kept.
class VoiceOfOneCall {
public:
    VoiceOfOneCall() = default;
    ~VoiceOfOneCall();
    VoiceOfOneCall(const VoiceOfOneCall&) = delete;
    VoiceOfOneCall& operator=(const VoiceOfOneCall&) = delete;
};

}  // namespace Cli_Tzc04182
