#pragma once
// A voice that speaks on a thread of its own through an engine (a Speaker), so that saying
// something never holds up the dialog. What is waiting is said in order, except that an echo
// of a key is dropped, or cut while it is said, as soon as anything newer comes: a fast typist
// hears the key they are at, and a prompt or a message is always heard to the end.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "host/voice/voice.h"

namespace host {

// A speech engine, made and used on the queue's thread only (COM wants that of SAPI).
class Speaker {
public:
    virtual ~Speaker() = default;
    // Begins to say the text (UTF-8) and returns; or says it all, for an engine that writes files.
    virtual void Start(const std::string& utf8_text) = 0;
    virtual bool Speaking() = 0;
    // Stops what is being said, at once.
    virtual void Stop() = 0;
};

// Makes the engine; throws (std::runtime_error, with why) when it cannot be had.
using SpeakerFactory = std::function<std::unique_ptr<Speaker>()>;

class QueuedVoice final : public Voice {
public:
    // Returns once the engine is made on the new thread; throws what the factory threw.
    explicit QueuedVoice(SpeakerFactory make);
    ~QueuedVoice() override;
    QueuedVoice(const QueuedVoice&) = delete;
    QueuedVoice& operator=(const QueuedVoice&) = delete;

    void Say(std::string_view cp1252_text, SpeechKind kind) override;
    // Waits until everything said has been spoken or dropped (tests, benchmarks).
    void WaitUntilQuiet();

private:
    struct Utterance {
        std::string utf8_text;
        SpeechKind kind;
    };
    void Run(Speaker& speaker);
    // Speaks one utterance to its end, or until it is cut; called and returns with the lock held.
    void Speak(Speaker& speaker, const Utterance& utterance, std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Utterance> waiting_;
    bool speaking_ = false;
    bool speaking_echo_ = false;
    bool cut_ = false;
    bool ending_ = false;
    std::thread thread_;
};

// Says each utterance through the engine before returning: every one, in order, none cut. For
// engines that write files, whose output a test reads once the call has returned.
class ImmediateVoice final : public Voice {
public:
    explicit ImmediateVoice(const SpeakerFactory& make) : speaker_(make()) {}
    void Say(std::string_view cp1252_text, SpeechKind kind) override;

private:
    std::unique_ptr<Speaker> speaker_;
};

}  // namespace host
