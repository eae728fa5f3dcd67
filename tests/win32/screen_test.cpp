// The Win32 screen: what the customer sees, and what a touch or a key on it does.
#include <gtest/gtest.h>

#include <algorithm>

#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "win32_harness.h"

namespace {

using namespace win32_testing;
using host::TColor;

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

const TColor kFrame{204, 91, 44};
const TColor kRed{255, 0, 0};
const TColor kGreen{34, 221, 100};
const TColor kWhite{255, 255, 255};
const TColor kKeyCap{72, 72, 72};
const TColor kBlack{0, 0, 0};

std::string Describe(TColor colour)
{
    return "RGB " + std::to_string(colour.r) + ", " + std::to_string(colour.g) + ", " + std::to_string(colour.b);
}

TEST(Win32ScreenPicture, FixedColoursSitWhereTheLayoutPutsThem)
{
    const CallResult run = Call().Run({Shot("first"), Key(VK_ESCAPE)});
    ASSERT_FALSE(run.error) << *run.error;
    const Picture& picture = run.shots.at("first");
    ASSERT_EQ(picture.Width(), 730);
    ASSERT_EQ(picture.Height(), 378);
    struct Probe {
        int x, y;
        TColor colour;
        const char* what;
    };
    const Probe probes[] = {
        {0, 0, kFrame, "frame, top-left corner"},         {729, 377, kFrame, "frame, bottom-right corner"},
        {728, 376, kFrame, "frame, second pixel"},         {2, 2, kWhite, "inside the frame"},
        {624, 167, kRed, "\"N\xC3\xA3o informar\""},       {624, 350, kGreen, "\"Confirmar\""},
        {180, 170, kKeyCap, "digit key 1"},                {616, 115, kWhite, "rounded corner"},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(Describe(picture.Pixel(probe.x, probe.y)), Describe(probe.colour))
            << probe.what << " at " << probe.x << "," << probe.y;
}

TEST(Win32ScreenPicture, EachStepLooksLikeTheQtScreensReference)
{
    const CallResult document = Call().Run({Type("529982"), Shot("document"), Key(VK_ESCAPE)});
    const CallResult name =
        Call().Run({Type("52998224725"), Key(VK_RETURN), Type("MARIA"), Shot("name"), Key(VK_ESCAPE)});
    const CallResult rejected =
        Call().Run({Type("11111111111"), Key(VK_RETURN), Shot("message"), Key(VK_RETURN), Key(VK_ESCAPE)});
    const CallResult email = Call().Param(11, "S").Run({Type("fulano@exemplo.com"), Shot("email"), Key(VK_ESCAPE)});
    for (const CallResult* run : {&document, &name, &rejected, &email}) {
        ASSERT_FALSE(run->error) << *run->error;
        ASSERT_EQ(run->shots.size(), 1u);
        const auto& [shot, picture] = *run->shots.begin();
        const std::optional<std::string> difference = CompareWithReference(picture, shot);
        EXPECT_FALSE(difference) << *difference;
    }
}

TEST(Win32ScreenTouch, EveryKeyCapAndSideButtonActsAtItsCentre)
{
    const char* letters[] = {"sbt1", "sbt2", "sbt3", "sbt4", "sbt5", "sbt6", "sbt7", "sbt8", "sbt9", "sbt0",
                             "sbtQ", "sbtW", "sbtE", "sbtR", "sbtT", "sbtY", "sbtU", "sbtI", "sbtO", "sbtP",
                             "sbtA", "sbtS", "sbtD", "sbtF", "sbtG", "sbtH", "sbtJ", "sbtK", "sbtL", "sbtCCdil",
                             "sbtZ", "sbtX", "sbtC", "sbtV", "sbtB", "sbtN", "sbtM", "sbtPonto", "sbtBarra", "sbtArroba",
                             "BlendedBitBtn1", "sbtHifen", "sbtUnderline"};
    std::vector<Step> steps;
    for (const char* key : letters)
        steps.push_back(Touch(key));
    steps.push_back(Touch("sbtEnter"));
    const CallResult letter_run = Call().Param(11, "S").Run(steps);
    ASSERT_FALSE(letter_run.error) << *letter_run.error;
    EXPECT_EQ(letter_run.answers.at(6), "1234567890QWERTYUIOPASDFGHJKL\xC3\x87ZXCVBNM./@ -_");

    steps = {Touch("sbt01"), Touch("sbt02"), Touch("sbt03"), Touch("sbtBackSpace"), Touch("sbtLimpar")};
    for (const char* key : {"sbt01", "sbt02", "sbt03", "sbt04", "sbt05", "sbt06", "sbt07", "sbt08", "sbt09", "sbt00"})
        steps.push_back(Touch(key));
    steps.push_back(Touch("sbtLimpar"));
    for (const char* key : {"sbt05", "sbt02", "sbt09", "sbt09", "sbt08", "sbt02", "sbt02", "sbt04", "sbt07", "sbt02", "sbt05"})
        steps.push_back(Touch(key));
    steps.push_back(Touch("sbtEnter"));
    steps.push_back(Touch("sbtSair"));
    const CallResult digit_run = Call().Run(steps);
    // Had "N\xC3\xA3o informar" not ended the call, the steps would have run out at the name step.
    ASSERT_FALSE(digit_run.error) << *digit_run.error;
    const std::vector<std::string> displays = digit_run.Lines("display");
    EXPECT_TRUE(Contains(displays, "123.456.789-0")) << "every digit key";
    EXPECT_TRUE(Contains(displays, "12")) << "Corrrigir";
    EXPECT_TRUE(Contains(displays, "")) << "Limpar";
    EXPECT_EQ(digit_run.answers.at(0), "52998224725") << "Confirmar";

    const CallResult foreign = Call().Param(9, "S").Run({Touch("sbtIdEstrangeira"), Key(VK_ESCAPE)});
    ASSERT_FALSE(foreign.error) << *foreign.error;
    EXPECT_TRUE(Contains(foreign.trace, "step: 6")) << "Cons Estrang.";
}

TEST(Win32ScreenTouch, PressedKeyShowsBlackUntilReleasedAndThenTypes)
{
    const CallResult run = Call().Run({Press("sbt04"), Shot("held"), Release("sbt04"), Shot("released"), Key(VK_ESCAPE)});
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(Describe(run.shots.at("held").Pixel(180, 231)), Describe(kBlack));
    EXPECT_EQ(Describe(run.shots.at("released").Pixel(180, 231)), Describe(kKeyCap));
    EXPECT_TRUE(Contains(run.Lines("display"), "4"));
}

TEST(Win32ScreenKeys, PhysicalKeysReachBothKeyHandlers)
{
    const CallResult run = Call().Param(15, "N").Run({
        Type("\xC3\xA7\xC3\x87" "a"),
        Key(VK_BACK),
        Key(VK_RETURN),
        Type("A."),  // a full stop typed is a character, never the Delete key
        Key(VK_RETURN),
    });
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(run.answers.at(1), "\xC3\xA7\xC3\x87");
    EXPECT_EQ(run.answers.at(2), "A.");
}

TEST(Win32ScreenMessageBox, TouchOrEnterDismissesIt)
{
    const CallResult run = Call().Run({Type("11111111111"), Key(VK_RETURN), Touch("ok"), Key(VK_RETURN),
                                       Key(VK_RETURN), Key(VK_ESCAPE)});
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(run.Lines("message").size(), 2u);
}

TEST(Win32ScreenShownWindow, ModalAndFocusedWhileShown)
{
    ASSERT_FALSE(Screen().Offscreen()) << kShownWindowsOnly;
    // A window of the host's, active when the call starts.
    const HWND host_window = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                             nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(host_window);
    bool host_disabled = false;
    HWND focus = nullptr;
    HWND dialog = nullptr;
    const CallResult run = Call().Run({Check([&](WindowScreen& screen) {
                                           dialog = screen.TopWindow()->Handle();
                                           host_disabled = !IsWindowEnabled(host_window);
                                           focus = GetFocus();
                                       }),
                                       Key(VK_ESCAPE)});
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_TRUE(host_disabled) << "the host's window takes no input while the dialog shows";
    EXPECT_EQ(focus, dialog);
    EXPECT_TRUE(IsWindowEnabled(host_window)) << "and takes it again afterwards";
    EXPECT_FALSE(IsWindowVisible(dialog));
    DestroyWindow(host_window);
}

TEST(Win32ScreenWindow, DialogHandleIsTheRealWindowItsKeysAreSentTo)
{
    // The flows' close is posted to the real window: a call ends only if that window's procedure
    // hands WM_CLOSE to the form.
    const CallResult run = Call().Run({Type("52998224725"), Touch("sbtEnter"), Type("MARIA"), Key(VK_RETURN),
                                       Type("RUA A 1"), Key(VK_RETURN)});
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(run.answers, (std::vector<std::string>{"52998224725", "MARIA", "RUA A 1", "N", "N", "N", "", "N"}));
    ASSERT_NE(Cli_Tzc04182::frmCNPJCPF, nullptr);
    EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(Cli_Tzc04182::frmCNPJCPF->GetHandle())));
}

TEST(Win32ScreenScript, EndsTheCallWhenItsStepsAreDone)
{
    struct Case {
        const char* what;
        std::vector<Step> steps;
        const char* error;
    };
    // The second ends inside the message box's loop, which runs inside the window procedure of
    // the dialog's Enter: the end has to come back out through the system's dispatch.
    const Case cases[] = {
        {"waiting at the document", {Type("1")}, "input ended at step 1"},
        {"inside the message box", {Type("11111111111"), Key(VK_RETURN)}, "input ended at step 2"},
    };
    for (const Case& c : cases) {
        const CallResult run = Call().Run(c.steps);
        ASSERT_TRUE(run.error) << c.what;
        EXPECT_EQ(*run.error, c.error) << c.what;
        EXPECT_EQ(host::Application().ActiveForm(), nullptr) << c.what << ": every form hidden";
    }
}

}  // namespace
