// The form framework: sends and posts, the silent abort, the modal loop and its close request,
// timers on the virtual clock, and the scripted customer's grammar.
#include <gtest/gtest.h>

#include "support/call_harness.h"
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/headless_screen.h"
#include "host/forms/screen.h"
#include "host/screens/script.h"
#include "host/forms/timer.h"

using namespace host;

namespace {

struct Recorder : TForm {
    Recorder() : TForm("frmRecorder")
    {
        OnKeyDown = [this](TObject*, uint16_t& key, ShiftState) {
            log += "down" + std::to_string(key) + " ";
            if (key == 65)
                Abort();
            log += "after ";
        };
        OnKeyPress = [this](TObject*, char& key) { log += std::string("char") + key + " "; };
    }
    std::string log;
};

HeadlessScreen& Headless()
{
    return testing_support::Headless();
}

}  // namespace

TEST(Framework, SendRunsTheHandlerBeforeItReturnsAndPostWaits)
{
    Headless();
    Recorder form;
    PostMessageA(form.GetHandle(), WM_CHAR, 'x', 0);
    SendMessageA(form.GetHandle(), WM_KEYDOWN, 13, 0);
    EXPECT_EQ(form.log, "down13 after ");
    Application().ProcessMessages();
    EXPECT_EQ(form.log, "down13 after charx ");
}

TEST(Framework, AbortEndsOnlyTheHandlerItWasRaisedIn)
{
    Recorder form;
    EXPECT_NO_THROW(SendMessageA(form.GetHandle(), WM_KEYDOWN, 65, 0));
    SendMessageA(form.GetHandle(), WM_KEYDOWN, 13, 0);
    EXPECT_EQ(form.log, "down65 down13 after ");
}

TEST(Framework, CharactersAboveTheCodePageAreNotCharacters)
{
    Recorder form;
    SendMessageA(form.GetHandle(), WM_CHAR, 0x141, 0);
    SendMessageA(form.GetHandle(), WM_CHAR, 0xE7, 0);
    EXPECT_EQ(form.log, "char\xE7 ");
}

TEST(Framework, ACloseRequestDuringActivationEndsTheLoopOnlyAfterActivationReturns)
{
    Headless().SetScript("ab");
    Recorder form;
    form.OnActivate = [&form](TObject*) {
        PostMessageA(form.GetHandle(), WM_CLOSE, 0, 0);
        // The form keeps working: two characters arrive after the close was handled.
        Application().WaitWhile([&form] { return form.log.size() < 12; });
        form.log += "activated ";
    };
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(form.log, "chara charb activated ");
    EXPECT_FALSE(form.Modal());
}

TEST(Framework, TimersTickOncePerIntervalOnTheVirtualClock)
{
    HeadlessScreen& screen = Headless();
    screen.SetScript("{wait 50s}");
    Recorder form;
    TTimer timer;
    timer.SetInterval(std::chrono::seconds(20));
    std::vector<int64_t> ticks;
    const TimePoint start = Application().clock().Now();
    timer.OnTimer = [&](TObject*) {
        ticks.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(Application().clock().Now() - start).count());
    };
    form.OnActivate = [&](TObject*) {
        timer.SetEnabled(true);
        Application().WaitWhile([&] { return ticks.size() < 2; });
        timer.SetEnabled(false);
        form.Close();
    };
    form.ShowModal();
    EXPECT_EQ(ticks, (std::vector<int64_t>{20000, 40000}));
}

TEST(Framework, AnEndedScriptIsAnErrorNotAHang)
{
    Headless().SetScript("");
    Recorder form;
    EXPECT_THROW(form.ShowModal(), EInputEnded);
    EXPECT_FALSE(form.Modal());
    EXPECT_EQ(Application().ActiveForm(), nullptr);
}

TEST(Framework, TouchesOfHiddenOrUnknownControlsAreScriptErrors)
{
    Recorder form;
    auto& shown = form.Add<TBlendedBitBtn>("shown");
    auto& hidden = form.Add<TBlendedBitBtn>("hidden");
    hidden.SetVisible(false);
    int clicks = 0;
    shown.OnClick = [&](TObject*) {
        ++clicks;
        form.Close();
    };
    Headless().SetScript("[shown]");
    form.ShowModal();
    EXPECT_EQ(clicks, 1);
    for (const char* script : {"[hidden]", "[nothing]"}) {
        Headless().SetScript(script);
        EXPECT_THROW(form.ShowModal(), EScriptError) << script;
    }
}

TEST(Framework, ScriptGrammar)
{
    const std::vector<ScriptAction> actions = ParseScript("a{{[[ç{Shift+Enter}{wait 1.5s}[sbt7]{wait 250ms}");
    ASSERT_EQ(actions.size(), 7u);
    EXPECT_EQ(actions[0].character, 'a');
    EXPECT_EQ(actions[1].character, '{');
    EXPECT_EQ(actions[2].character, '[');
    EXPECT_EQ(actions[3].character, '\xE7');
    EXPECT_EQ(actions[4].key, VK_RETURN);
    EXPECT_EQ(actions[4].shift, ShiftState::Shift);
    EXPECT_EQ(actions[5].kind, ScriptAction::Kind::Touch);
    EXPECT_EQ(actions[5].name, "sbt7");
    EXPECT_EQ(actions[5].delay, std::chrono::milliseconds(1500));
    EXPECT_EQ(actions[6].kind, ScriptAction::Kind::End);
    EXPECT_EQ(actions[6].delay, std::chrono::milliseconds(250));
    for (const char* bad : {"{Tab}", "{Enter", "[]", "[sbt7", "{wait 2}", "{wait -1s}", "{wait xs}"})
        EXPECT_THROW(ParseScript(bad), EScriptError) << bad;
}
