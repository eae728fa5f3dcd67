// The real screen: what the customer sees, and what a touch or a key on it does.
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "host/forms/form.h"
#include "host/screens/qt/qt_canvas.h"
#include "qt_harness.h"

namespace {

using namespace qt_testing;

QColor At(const QImage& picture, int x, int y) { return picture.pixelColor(x, y); }

}  // namespace

QT_BEGIN_NAMESPACE
void PrintTo(const QColor& colour, std::ostream* out)
{
    *out << "RGB " << colour.red() << ", " << colour.green() << ", " << colour.blue();
}
QT_END_NAMESPACE

namespace {

const QColor kFrame(204, 91, 44);
const QColor kRed(255, 0, 0);
const QColor kGreen(34, 221, 100);
const QColor kWhite(255, 255, 255);
const QColor kKeyCap(72, 72, 72);
const QColor kBlack(0, 0, 0);

TEST(QtScreenPicture, FixedColoursSitWhereTheLayoutPutsThem)
{
    const QtCallResult run = QtCall().Run({Shot("first"), Key(Qt::Key_Escape, "\x1b")});
    ASSERT_FALSE(run.error) << *run.error;
    const QImage& picture = run.shots.at("first");
    ASSERT_EQ(picture.size(), QSize(730, 378));
    struct Probe {
        int x, y;
        QColor colour;
        const char* what;
    };
    const Probe probes[] = {
        {0, 0, kFrame, "frame, top-left corner"},
        {1, 1, kFrame, "frame, second pixel"},
        {729, 377, kFrame, "frame, bottom-right corner"},
        {728, 376, kFrame, "frame, second pixel from bottom-right"},
        {364, 0, kFrame, "frame, top edge"},
        {2, 2, kWhite, "inside the frame"},
        {727, 375, kWhite, "inside the frame, bottom-right"},
        {624, 167, kRed, "\"N\xC3\xA3o informar\""},
        {713, 123, kRed, "\"N\xC3\xA3o informar\", top-right"},
        {624, 350, kGreen, "\"Confirmar\""},
        {713, 306, kGreen, "\"Confirmar\", top-right"},
        {180, 170, kKeyCap, "digit key 1"},
        {616, 115, kWhite, "rounded corner of \"N\xC3\xA3o informar\""},
        {300, 8, kWhite, "above the prompt"},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(At(picture, probe.x, probe.y), probe.colour) << probe.what << " at " << probe.x << "," << probe.y;
}

TEST(QtScreenPicture, EachStepLooksLikeItsReference)
{
    const QtCallResult document = QtCall().Run({Type("529982"), Shot("document"), Key(Qt::Key_Escape, "\x1b")});
    const QtCallResult name =
        QtCall().Run({Type("52998224725"), Key(Qt::Key_Return, "\r"), Type("MARIA"), Shot("name"), Key(Qt::Key_Escape, "\x1b")});
    const QtCallResult rejected =
        QtCall().Run({Type("11111111111"), Key(Qt::Key_Return, "\r"), Shot("message"), Key(Qt::Key_Return, "\r"),
                      Key(Qt::Key_Escape, "\x1b")});
    const QtCallResult email =
        QtCall().Param(11, "S").Run({Type("fulano@exemplo.com"), Shot("email"), Key(Qt::Key_Escape, "\x1b")});
    for (const QtCallResult* run : {&document, &name, &rejected, &email}) {
        ASSERT_FALSE(run->error) << *run->error;
        ASSERT_EQ(run->shots.size(), 1u);
        const auto& [shot, picture] = *run->shots.begin();
        const std::optional<std::string> difference = CompareWithReference(picture, shot);
        EXPECT_FALSE(difference) << *difference;
    }
}

// The first and last column with ink (anything but white) in `strip` of the picture.
std::pair<int, int> InkColumns(const QImage& picture, QRect strip)
{
    int first = -1, last = -1;
    for (int x = strip.left(); x <= strip.right(); ++x)
        for (int y = strip.top(); y <= strip.bottom(); ++y)
            if (picture.pixelColor(x, y) != kWhite) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    return {first, last};
}

// A paint draws again only what changed; what the window shows after each change is still what a
// whole paint gives (read back from the platform: the display under Xvfb, the buffer offscreen).
TEST(QtScreenPicture, WhatChangedIsPaintedAndTheRestKept)
{
    std::vector<std::pair<QImage, QImage>> seen;  // shown, whole
    const Step look = [&seen](host::qt::StackWindow& window) {
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        seen.emplace_back(shown.convertToFormat(QImage::Format_RGB32), window.Grab().convertToFormat(QImage::Format_RGB32));
    };
    const QtCallResult run = QtCall().Run({look, Type("529"), look, Press("sbt05"), look, Release("sbt05"), look,
                                           Key(Qt::Key_Backspace), look, Touch("sbtLimpar"), look,
                                           Key(Qt::Key_Escape, "\x1b")});
    ASSERT_FALSE(run.error) << *run.error;
    ASSERT_EQ(seen.size(), 6u);
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_TRUE(seen[i].first == seen[i].second) << "look " << i << ": the window shows " << seen[i].first.size().width()
                                                     << "x" << seen[i].first.size().height() << ", not the whole paint";
}

TEST(QtScreenPicture, ScreenCodeShowsWholeWithItsRightEdgeKept)
{
    const QtCallResult run = QtCall().Run({Shot("first"), Key(Qt::Key_Escape, "\x1b")});
    ASSERT_FALSE(run.error) << *run.error;
    // The code alone, as its label's font draws it.
    QImage alone(200, 20, QImage::Format_RGB32);
    alone.fill(kWhite);
    {
        QPainter painter(&alone);
        painter.setFont(host::qt::MakeFont({11, false, host::clGray}));
        painter.setPen(Qt::gray);
        painter.drawText(QRect(0, 0, 200, 20), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("TZC04182"));
    }
    const auto [alone_first, alone_last] = InkColumns(alone, alone.rect());
    // Below "Confirmar", inside the frame: only the code is drawn there.
    const auto [first, last] = InkColumns(run.shots.at("first"), QRect(560, 359, 168, 17));
    ASSERT_GE(first, 0) << "no screen code";
    EXPECT_EQ(last - first, alone_last - alone_first) << "the code is clipped";
    EXPECT_LE(last, 720) << "the label's right edge is 721";
    EXPECT_GE(last, 716) << "the code keeps to the right edge";
}

TEST(QtScreenTouch, EveryLetterKeyTypesItsCharacter)
{
    const char* keys[] = {"sbt1", "sbt2", "sbt3", "sbt4", "sbt5", "sbt6", "sbt7", "sbt8", "sbt9", "sbt0",
                          "sbtQ", "sbtW", "sbtE", "sbtR", "sbtT", "sbtY", "sbtU", "sbtI", "sbtO", "sbtP",
                          "sbtA", "sbtS", "sbtD", "sbtF", "sbtG", "sbtH", "sbtJ", "sbtK", "sbtL", "sbtCCdil",
                          "sbtZ", "sbtX", "sbtC", "sbtV", "sbtB", "sbtN", "sbtM", "sbtPonto", "sbtBarra", "sbtArroba",
                          "BlendedBitBtn1", "sbtHifen", "sbtUnderline"};
    std::vector<Step> steps;
    for (const char* key : keys)
        steps.push_back(Touch(key));
    steps.push_back(Touch("sbtEnter"));
    const QtCallResult run = QtCall().Param(11, "S").Run(steps);
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(run.answers.at(6), "1234567890QWERTYUIOPASDFGHJKL\xC3\x87ZXCVBNM./@ -_");
}

TEST(QtScreenTouch, EveryDigitKeyTypesItsDigit)
{
    std::vector<Step> steps;
    for (const char* key : {"sbt01", "sbt02", "sbt03", "sbt04", "sbt05", "sbt06", "sbt07", "sbt08", "sbt09", "sbt00"})
        steps.push_back(Touch(key));
    steps.push_back(Key(Qt::Key_Escape, "\x1b"));
    const QtCallResult run = QtCall().Run(steps);
    ASSERT_FALSE(run.error) << *run.error;
    const std::vector<std::string> displays = run.Lines("display");
    EXPECT_NE(std::find(displays.begin(), displays.end(), "123.456.789-0"), displays.end());
}

TEST(QtScreenTouch, SideButtonsDoTheirActions)
{
    std::vector<Step> steps = {Touch("sbt01"), Touch("sbt02"), Touch("sbt03"), Touch("sbtBackSpace"), Shot("corrected"),
                               Touch("sbtLimpar"), Shot("cleared")};
    for (const char* key : {"sbt05", "sbt02", "sbt09", "sbt09", "sbt08", "sbt02", "sbt02", "sbt04", "sbt07", "sbt02", "sbt05"})
        steps.push_back(Touch(key));
    steps.push_back(FingerTouch("sbtEnter"));
    steps.push_back(Touch("sbtSair"));
    const QtCallResult run = QtCall().Run(steps);
    // Had "N\xC3\xA3o informar" not ended the call, the steps would have run out at the name step.
    ASSERT_FALSE(run.error) << *run.error;
    const std::vector<std::string> displays = run.Lines("display");
    EXPECT_NE(std::find(displays.begin(), displays.end(), "12"), displays.end()) << "Corrrigir";
    EXPECT_NE(std::find(displays.begin(), displays.end(), ""), displays.end()) << "Limpar";
    EXPECT_NE(std::find(run.trace.begin(), run.trace.end(), "step: 2"), run.trace.end()) << "Confirmar";
    EXPECT_EQ(run.answers.at(0), "52998224725");
}

TEST(QtScreenTouch, ForeignIdentificationButtonOpensItsStep)
{
    const QtCallResult run = QtCall().Param(9, "S").Run({Touch("sbtIdEstrangeira"), Key(Qt::Key_Escape, "\x1b")});
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_NE(std::find(run.trace.begin(), run.trace.end(), "step: 6"), run.trace.end());
}

TEST(QtScreenTouch, HiddenButtonsTakeNoTouch)
{
    // "Cons Estrang." stays hidden on a call that does not allow it: its place takes no click.
    const QtCallResult run = QtCall().Run({[](host::qt::StackWindow& window) {
                                               QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(668, 84));
                                           },
                                           Key(Qt::Key_Escape, "\x1b")});
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(std::find(run.trace.begin(), run.trace.end(), "step: 6"), run.trace.end());
}

TEST(QtScreenTouch, PressedKeyShowsBlackUntilReleased)
{
    const QtCallResult run = QtCall().Run({Press("sbt04"), Shot("held"), Release("sbt04"), Shot("released"),
                                           Key(Qt::Key_Escape, "\x1b")});
    ASSERT_FALSE(run.error) << *run.error;
    // sbt04 is at 174, 177 in the window once the digit keypad is in place.
    EXPECT_EQ(At(run.shots.at("held"), 180, 231), kBlack);
    EXPECT_EQ(At(run.shots.at("released"), 180, 231), kKeyCap);
    const std::vector<std::string> displays = run.Lines("display");
    EXPECT_NE(std::find(displays.begin(), displays.end(), "4"), displays.end());
}

TEST(QtScreenKeys, PhysicalKeysReachTheDialog)
{
    const QtCallResult run = QtCall().Param(15, "N").Run({
        Key(Qt::Key_Ccedilla, QString::fromUtf8("\xC3\xA7")),                     // ABNT2 ç
        Key(Qt::Key_Ccedilla, QString::fromUtf8("\xC3\x87"), Qt::ShiftModifier),  // and Ç
        Type("a"),
        Key(Qt::Key_Backspace, "\b"),
        Key(Qt::Key_Return, "\r"),
        Type("A"),
        Key(Qt::Key_Period, "."),  // a full stop, never the Delete key
        Key(Qt::Key_Return, "\r"),
    });
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(run.answers.at(1), "\xC3\xA7\xC3\x87");
    EXPECT_EQ(run.answers.at(2), "A.");
}

TEST(QtScreenKeys, DeleteAndEscapeAct)
{
    const QtCallResult run = QtCall().Run({Type("123"), Key(Qt::Key_Delete, "\x7f"), Type("4"), Key(Qt::Key_Escape, "\x1b")});
    ASSERT_FALSE(run.error) << *run.error;
    const std::vector<std::string> displays = run.Lines("display");
    const auto typed = std::find(displays.begin(), displays.end(), "123.");
    ASSERT_NE(typed, displays.end());
    EXPECT_NE(std::find(typed, displays.end(), "4"), displays.end()) << "Delete clears the document";
    EXPECT_EQ(run.answers.at(0), "");
}

TEST(QtScreenMessageBox, TouchOrEnterDismissesIt)
{
    const QtCallResult run = QtCall().Run({Type("11111111111"), Key(Qt::Key_Return, "\r"), Touch("ok"),
                                           Key(Qt::Key_Return, "\r"), Key(Qt::Key_Return, "\r"), Key(Qt::Key_Escape, "\x1b")});
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(run.Lines("message").size(), 2u);
}

TEST(QtScreenScript, EndsTheCallWhenItsStepsAreDone)
{
    const QtCallResult run = QtCall().Run({Type("1")});
    ASSERT_TRUE(run.error);
    EXPECT_EQ(*run.error, "input ended at step 1");
}

// The painter on a form of its own: what it draws for each state of a button.
TEST(FormPainter, DrawsButtonStatesAndSkipsHiddenControls)
{
    host::TForm form("frmProbe");
    form.SetBounds(0, 0, 100, 40);
    form.SetLook({.color = host::clWhite});
    auto& enabled = form.Add<host::TBlendedBitBtn>("enabled");
    enabled.SetBounds(0, 0, 30, 40);
    enabled.SetLook({.color = host::clRed});
    auto& disabled = form.Add<host::TBlendedBitBtn>("disabled");
    disabled.SetBounds(35, 0, 30, 40);
    disabled.SetLook({.color = host::clRed});
    disabled.SetEnabled(false);
    auto& hidden = form.Add<host::TBlendedBitBtn>("hidden");
    hidden.SetBounds(70, 0, 30, 40);
    hidden.SetLook({.color = host::clRed});
    hidden.SetVisible(false);
    form.SetVisible(true);
    const host::TControl* stack[] = {&form};

    const QImage plain = host::qt::RenderStack(stack);
    EXPECT_EQ(At(plain, 15, 20), kRed);
    EXPECT_EQ(At(plain, 50, 20), QColor(204, 204, 204));
    EXPECT_EQ(At(plain, 85, 20), kWhite);
    const QImage pressed = host::qt::RenderStack(stack, &enabled);
    EXPECT_EQ(At(pressed, 15, 20), kBlack);
}

}  // namespace
