#pragma once
// Voice: what the customer hears. The dialog says things through this interface alone; the
// voices of this room (silent, eSpeak NG, SAPI, WAV files) implement it, and the module's entry
// chooses one. With none chosen nothing is said, traced or loaded.
#include <cstdint>
#include <memory>
#include <string_view>

namespace host {

// What an utterance is for. An echo of a key is dropped or cut as soon as anything newer is
// said; the others are always said to the end, in order.
enum class SpeechKind : uint8_t { Prompt, Echo, Answer, Message };

class Voice {
public:
    virtual ~Voice() = default;
    // Text in Windows-1252. Returns at once: speaking happens elsewhere.
    virtual void Say(std::string_view cp1252_text, SpeechKind kind) = 0;
};

// The process's voice; nullptr (the default) is none.
Voice* CurrentVoice();
// Replaces the voice, ending the previous one (what it still had to say is dropped).
void SetVoice(std::unique_ptr<Voice> voice);
// Says it with the current voice, traced as "voice: ..." under TZC_TRACE; nothing without a
// voice. Never throws: a voice that fails is the customer's loss, never the call's.
void Say(std::string_view cp1252_text, SpeechKind kind);

}  // namespace host
