// Spoken guidance: what a customer who cannot see the screen hears in whole calls, and how the
// voice keeps up with a typist without cutting what must be heard.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <cstdlib>
#include <vector>

#include "host/voice/speech_queue.h"
#include "support/step_scripts.h"

using namespace testing_support;

namespace {

void SetEnvironment(const char* name, const char* value)
{
#ifdef _WIN32
    // An empty value removes it; the C runtime passes it on to the process's own environment.
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

// TZC_VOICE for the calls of one test; unset again, and the voice gone, when it ends.
class VoiceSetting {
public:
    explicit VoiceSetting(const char* value) { SetEnvironment("TZC_VOICE", value); }
    ~VoiceSetting()
    {
        SetEnvironment("TZC_VOICE", nullptr);
        host::SetVoice(nullptr);
    }
    VoiceSetting(const VoiceSetting&) = delete;
    VoiceSetting& operator=(const VoiceSetting&) = delete;
};

constexpr const char* kDecline = " Tecle Esc para não informar.";

std::string Prompt(const std::string& text) { return text + "." + kDecline; }

struct SpokenFlow {
    const char* name;
    Call call;
    std::string script;
    std::vector<std::string> heard;  // without "voice: "
};

std::vector<SpokenFlow> SpokenFlows()
{
    const std::string cpf = Prompt("Informe o CPF ou CNPJ");
    const std::string name = Prompt("Informe o Nome");
    const std::string address = Prompt("Informe o endereço");
    const std::string bad_cpf = "Número do CPF/CNPJ inválido. Tecle Enter para OK.";
    return {
        {"Identification", Call(), "529982{Backspace}24725{Enter}[ok]{Escape}",
         {cpf, "5", "2", "9", "9", "8", "2", "apagado", "2", "4", "7", "2", "5", "529, 982, 472, 5", bad_cpf, cpf}},
        {"DocumentThenNameAndAddress", Call(), "52998224725{Enter}A a{Enter}R1{Enter}",
         {cpf, "5", "2", "9", "9", "8", "2", "2", "4", "7", "2", "5", "529, 982, 247, 25", name, "A", "espaço", "a",
          "A A", address, "R", "1", "R1"}},
        {"ClearedName", Call(), "52998224725{Enter}Jo{Delete}{Enter}{Enter}",
         {cpf, "5", "2", "9", "9", "8", "2", "2", "4", "7", "2", "5", "529, 982, 247, 25", name, "J", "o", "limpo",
          "em branco", address, "em branco"}},
        {"PrefilledDocumentIsNotAsked", Call().Param(0, kValidCpf), "{Escape}", {name}},
        {"DeclineSaysNoLaterPrompt", Call(), "{Escape}", {cpf}},
        {"Telephone", AtStep(4).call, "1199{Enter}",
         {Prompt("Informe o telefone"), "1", "1", "9", "9", "1199"}},
        {"PromotionalCode", AtStep(5).call, "ab{Enter}",
         {Prompt("Informe o Código Promocional"), "a", "b", "ab"}},
        {"ForeignIdentification", AtStep(6).call, "[sbtIdEstrangeira]X1{Enter}{Escape}",
         {cpf, Prompt("Identificação Estrangeira"), "X", "1", "X1", name}},
        {"RejectedEmail", AtStep(7).call, "a@b{Enter}[ok]{Delete}{Enter}",
         {Prompt("E-mail para envio de cupom"), "a", "arroba", "b", "a@b",
          "Email inválido. Favor digitar um email correto ou deixar de informar o mesmo. Tecle Enter para OK.", "limpo",
          "em branco"}},
        {"ConsumerSearch", AtStep(8).call, "j.{Enter}",
         {Prompt("Informe as iniciais do nome, crachá, código ou CPF do consumidor"), "j", "ponto", "j."}},
        {"ApcTimeLeft", Call().Param(5, "APC"), "{wait 14.9s}1{wait 5.5s}", {cpf, "1", "Restam 5 segundos."}},
    };
}

void PrintTo(const SpokenFlow& flow, std::ostream* out) { *out << flow.name; }

class SpokenCall : public testing::TestWithParam<SpokenFlow> {};

TEST_P(SpokenCall, SaysWhatIsAskedTypedAnsweredAndRefused)
{
    const SpokenFlow& flow = GetParam();
    const VoiceSetting voice("silent");
    EXPECT_EQ(flow.call.Run(flow.script).Lines("voice"), flow.heard);
}

INSTANTIATE_TEST_SUITE_P(Flows, SpokenCall, testing::ValuesIn(SpokenFlows()),
                         [](const testing::TestParamInfo<SpokenFlow>& info) { return std::string(info.param.name); });

TEST(Voice, UnsetSaysAndTracesNothingAndTurnsAnEarlierVoiceOff)
{
    {
        const VoiceSetting voice("silent");
        ASSERT_FALSE(Call().Run("{Escape}").Lines("voice").empty());
    }
    for (const char* off : {static_cast<const char*>(nullptr), "", "0"}) {
        SetEnvironment("TZC_VOICE", off);
        const CallResult result = Call().Run("52998224725{Enter}{Escape}");
        EXPECT_TRUE(result.Lines("voice").empty()) << (off ? off : "unset");
        EXPECT_EQ(host::CurrentVoice(), nullptr);
    }
}

#ifndef _WIN32
TEST(Voice, AVoiceThatCannotBeHadIsSilentTracedAndTriedAgainNextCall)
{
    const VoiceSetting voice("no-such-voice");
    for (int call = 0; call < 2; ++call) {
        const CallResult result = Call().Run("{Escape}");
        EXPECT_EQ(result.Last("voice unavailable"), "eSpeak NG has no voice \"no-such-voice\"") << call;
        EXPECT_EQ(result.Lines("voice").size(), 1u) << call;
        EXPECT_EQ(result.slots[0], "");
    }
}
#endif

// An engine whose utterances last until the test lets them end.
class HeldSpeaker final : public host::Speaker {
public:
    struct Log {
        std::mutex mutex;
        std::vector<std::string> events;  // "start X", "stop"
        std::atomic<bool> release{false};
        void Add(std::string event)
        {
            const std::lock_guard lock(mutex);
            events.push_back(std::move(event));
        }
        std::vector<std::string> Events()
        {
            const std::lock_guard lock(mutex);
            return events;
        }
    };
    explicit HeldSpeaker(Log& log) : log_(log) {}
    void Start(const std::string& text) override
    {
        log_.Add("start " + text);
        speaking_ = true;
    }
    bool Speaking() override { return speaking_ && !log_.release; }
    void Stop() override
    {
        if (speaking_)
            log_.Add("stop");
        speaking_ = false;
    }

private:
    Log& log_;
    bool speaking_ = false;
};

// Waits (a bounded time) until the engine has logged `count` events.
std::vector<std::string> EventsOnceThere(HeldSpeaker::Log& log, std::size_t count)
{
    for (int i = 0; i < 2000 && log.Events().size() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return log.Events();
}

TEST(SpeechQueue, AnEchoGivesWayToAnythingNewerAndNothingElseIsCut)
{
    using K = host::SpeechKind;
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, K>> said;
        std::vector<std::string> events;  // until the first is let go
    } cases[] = {
        {"new key cuts the echo being said", {{"1", K::Echo}, {"2", K::Echo}}, {"start 1", "stop", "start 2"}},
        {"prompt cuts the echo being said", {{"1", K::Echo}, {"Informe", K::Prompt}}, {"start 1", "stop", "start Informe"}},
        {"key waits for the prompt", {{"Informe", K::Prompt}, {"1", K::Echo}}, {"start Informe"}},
        {"key waits for a message", {{"Invalido", K::Message}, {"1", K::Echo}}, {"start Invalido"}},
    };
    for (const Case& c : cases) {
        HeldSpeaker::Log log;
        host::QueuedVoice voice([&log] { return std::make_unique<HeldSpeaker>(log); });
        voice.Say(c.said[0].first, c.said[0].second);
        EventsOnceThere(log, 1);
        voice.Say(c.said[1].first, c.said[1].second);
        EXPECT_EQ(EventsOnceThere(log, c.events.size()), c.events) << c.name;
        log.release = true;
        voice.WaitUntilQuiet();
    }
}

TEST(SpeechQueue, KeysTypedDuringAPromptLeaveOnlyTheLastToBeSaidAfterIt)
{
    HeldSpeaker::Log log;
    host::QueuedVoice voice([&log] { return std::make_unique<HeldSpeaker>(log); });
    voice.Say("Informe", host::SpeechKind::Prompt);
    EventsOnceThere(log, 1);
    for (const char* key : {"1", "2", "3"})
        voice.Say(key, host::SpeechKind::Echo);
    voice.Say("Invalido", host::SpeechKind::Message);
    voice.Say("4", host::SpeechKind::Echo);
    log.release = true;
    voice.WaitUntilQuiet();
    EXPECT_EQ(log.Events(), (std::vector<std::string>{"start Informe", "start Invalido", "start 4"}));
}

TEST(SpeechQueue, AnEngineThatCannotStartIsReportedAndOneThatFailsOnceSpeaksTheNext)
{
    EXPECT_THROW(host::QueuedVoice([]() -> std::unique_ptr<host::Speaker> { throw std::runtime_error("none"); }),
                 std::runtime_error);

    class FailsFirst final : public host::Speaker {
    public:
        explicit FailsFirst(std::vector<std::string>& said) : said_(said) {}
        void Start(const std::string& text) override
        {
            if (first_) {
                first_ = false;
                throw std::runtime_error("device lost");
            }
            said_.push_back(text);
        }
        bool Speaking() override { return false; }
        void Stop() override {}

    private:
        std::vector<std::string>& said_;
        bool first_ = true;
    };
    std::vector<std::string> said;
    host::QueuedVoice voice([&said] { return std::make_unique<FailsFirst>(said); });
    voice.Say("um", host::SpeechKind::Prompt);
    voice.WaitUntilQuiet();
    voice.Say("dois", host::SpeechKind::Prompt);
    voice.WaitUntilQuiet();
    EXPECT_EQ(said, std::vector<std::string>{"dois"});
}

}  // namespace
