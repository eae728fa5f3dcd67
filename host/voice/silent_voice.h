#pragma once
// The voice of headless runs and tests: says nothing; what it would say is in the trace.
#include "host/voice/voice.h"

namespace host {

class SilentVoice final : public Voice {
public:
    void Say(std::string_view, SpeechKind) override {}
};

}  // namespace host
