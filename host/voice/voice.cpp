#include "host/voice/voice.h"

#include "host/text/trace.h"

namespace host {

namespace {

std::unique_ptr<Voice>& Current()
{
    static std::unique_ptr<Voice> voice;
    return voice;
}

}  // namespace

Voice* CurrentVoice() { return Current().get(); }

void SetVoice(std::unique_ptr<Voice> voice) { Current() = std::move(voice); }

void Say(std::string_view cp1252_text, SpeechKind kind)
{
    Voice* voice = CurrentVoice();
    if (voice == nullptr || cp1252_text.empty())
        return;
    try {
        if (TraceEnabled())
            Trace("voice", cp1252_text);
        voice->Say(cp1252_text, kind);
    } catch (...) {
        // Nothing said; the dialog goes on.
    }
}

}  // namespace host
