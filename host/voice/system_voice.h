#pragma once
// The engines of this build: eSpeak NG on Linux (loaded when first asked for, never linked), SAPI
// on Windows. Each factory throws std::runtime_error, saying why, when its engine cannot be had.
#include <optional>
#include <string>

#include "host/voice/speech_queue.h"

namespace host {

struct VoiceSettings {
    // An engine's voice name; empty: Brazilian Portuguese (eSpeak NG's "pt-br", SAPI's default).
    std::string name;
    // 0 to 100, where 100 is the engine's normal volume; unset leaves the engine's own.
    std::optional<int> volume;
};

// The system's speech, to the default audio output.
SpeakerFactory SystemSpeaker(const VoiceSettings& settings);
// Each utterance synthesised into a WAV file of its own, `directory`/0001.wav, 0002.wav...
SpeakerFactory WavFileSpeaker(const std::string& directory, const VoiceSettings& settings);

}  // namespace host
