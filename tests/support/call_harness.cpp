#include "support/call_harness.h"


#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/screens/headless_screen.h"
#include "host/text/strings.h"
#include "host/text/trace.h"
#include "support/message_recorder.h"

namespace testing_support {

namespace {

host::HeadlessScreen* screen = nullptr;
FaultyScreen* faulty = nullptr;

}  // namespace

std::vector<std::string> CallResult::Lines(const std::string& kind) const
{
    std::vector<std::string> lines;
    for (const std::string& line : trace)
        if (line.starts_with(kind + ": "))
            lines.push_back(line.substr(kind.size() + 2));
    return lines;
}

std::string CallResult::Last(const std::string& kind) const
{
    const std::vector<std::string> lines = Lines(kind);
    return lines.empty() ? "" : lines.back();
}

void UseHeadlessScreen()
{
    RecordMessages();
    if (screen == nullptr) {
        auto headless = std::make_unique<host::HeadlessScreen>();
        screen = headless.get();
        auto wrapped = std::make_unique<FaultyScreen>(std::move(headless));
        faulty = wrapped.get();
        host::Application().SetScreen(std::move(wrapped));
    }
}

host::HeadlessScreen& Headless()
{
    UseHeadlessScreen();
    return *screen;
}

FaultyScreen& HeadlessFaults()
{
    UseHeadlessScreen();
    return *faulty;
}

void FreshDialog()
{
    delete Cli_Tzc04182::frmCNPJCPF;
    Cli_Tzc04182::frmCNPJCPF = nullptr;
}

Call::Call()
{
    const char* typical[] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N", "N"};
    for (const char* value : typical)
        params_.emplace_back(std::string_view(value));
}

Call& Call::Param(int index, const std::string& utf8) { return Param(index, host::Variant(host::Utf8ToCp1252(utf8))); }

Call& Call::Null(int index) { return Param(index, host::Variant::Null()); }

Call& Call::Param(int index, host::Variant value)
{
    params_.at(static_cast<std::size_t>(index)) = std::move(value);
    if (index == 17 && last_ == 16)
        last_ = 17;
    return *this;
}

Call& Call::Last(int last_index)
{
    last_ = last_index;
    return *this;
}

void CallEntry(const std::vector<host::Variant>& params, int last_index, host::Variant& result, const std::string& script)
{
    UseHeadlessScreen();
    screen->SetScript(script);
    Cli_Tzc04182::CriaInfAdicional(params.data(), last_index, result);
}

CallResult Call::Run(const std::string& script) const
{
    CallResult outcome;
    host::SetTraceSink([&outcome](const std::string& line) { outcome.trace.push_back(line); });
    host::Variant result = host::Variant::Array(0, 7);
    try {
        CallEntry(params_, last_, result, script);
        for (int32_t slot = 0; slot < 8; ++slot)
            outcome.slots[slot] = host::Cp1252ToUtf8(result.Element(slot).ToString());
    } catch (const std::exception& error) {
        outcome.error = error.what();
    }
    host::SetTraceSink(nullptr);
    return outcome;
}

}  // namespace testing_support
