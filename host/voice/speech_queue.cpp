#include "host/voice/speech_queue.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <future>
#include <memory>

#include "host/text/strings.h"

namespace host {

namespace {

// How often an engine is asked whether it has finished: only while it speaks, so an idle voice
// sleeps on its condition alone.
constexpr auto kSpeakingPoll = std::chrono::milliseconds(5);

}  // namespace

QueuedVoice::QueuedVoice(SpeakerFactory make)
{
    // Shared with the thread, which may still be inside set_value when this constructor returns.
    auto made = std::make_shared<std::promise<void>>();
    std::future<void> ready = made->get_future();
    thread_ = std::thread([this, make = std::move(make), made] {
        std::unique_ptr<Speaker> speaker;
        try {
            speaker = make();
            made->set_value();
        } catch (...) {
            made->set_exception(std::current_exception());
            return;
        }
        Run(*speaker);
    });
    try {
        ready.get();
    } catch (...) {
        thread_.join();
        throw;
    }
}

QueuedVoice::~QueuedVoice()
{
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void QueuedVoice::Say(std::string_view cp1252_text, SpeechKind kind)
{
    Utterance utterance{Cp1252ToUtf8(cp1252_text), kind};
    {
        const std::lock_guard lock(mutex_);
        std::erase_if(waiting_, [](const Utterance& waiting) { return waiting.kind == SpeechKind::Echo; });
        if (speaking_echo_)
            cut_ = true;
        waiting_.push_back(std::move(utterance));
    }
    changed_.notify_all();
}

void QueuedVoice::WaitUntilQuiet()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ending_ || (waiting_.empty() && !speaking_); });
}

void QueuedVoice::Run(Speaker& speaker)
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
        if (ending_)
            break;
        const Utterance next = std::move(waiting_.front());
        waiting_.pop_front();
        Speak(speaker, next, lock);
        changed_.notify_all();
    }
    lock.unlock();
    try {
        speaker.Stop();
    } catch (...) {
    }
}

void QueuedVoice::Speak(Speaker& speaker, const Utterance& utterance, std::unique_lock<std::mutex>& lock)
{
    speaking_ = true;
    speaking_echo_ = utterance.kind == SpeechKind::Echo;
    cut_ = false;
    lock.unlock();
    try {
        speaker.Start(utterance.utf8_text);
        lock.lock();
        while (!ending_ && !cut_) {
            lock.unlock();
            const bool speaking = speaker.Speaking();
            lock.lock();
            if (!speaking)
                break;
            changed_.wait_for(lock, kSpeakingPoll, [this] { return ending_ || cut_; });
        }
        if (cut_) {
            lock.unlock();
            speaker.Stop();
            lock.lock();
        }
    } catch (...) {
        // An engine that fails on one utterance may say the next.
        if (!lock.owns_lock())
            lock.lock();
    }
    speaking_ = false;
    speaking_echo_ = false;
}

void ImmediateVoice::Say(std::string_view cp1252_text, SpeechKind)
{
    speaker_->Start(Cp1252ToUtf8(cp1252_text));
}

}  // namespace host
