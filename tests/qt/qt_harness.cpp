#include "qt_harness.h"

#include <QCoreApplication>
#include <QPointingDevice>
#include <QTest>
#include <QtGui/qtestsupport_gui.h>
#include <algorithm>
#include <cstdlib>
#include <deque>

#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/qt/window_screen.h"
#include "host/forms/screen.h"
#include "host/text/strings.h"
#include "host/text/trace.h"
#include "host/variant/variant.h"

namespace qt_testing {

using host::qt::StackWindow;

namespace {

host::TControl& Control(const std::string& name)
{
    host::TForm* form = host::Application().ActiveForm();
    host::TControl* control = form != nullptr ? form->FindComponent(name) : nullptr;
    if (control == nullptr)
        throw std::runtime_error("no control " + name + " on the form on top");
    return *control;
}

// Plays the steps one at a time whenever the application waits; when they are done, the call
// ends as a script's end does.
class StepCustomer final : public host::qt::Customer {
public:
    explicit StepCustomer(std::vector<Step> steps) : steps_(steps.begin(), steps.end()) {}

    std::optional<host::TimePoint> NextDue(host::TimePoint now) override
    {
        return steps_.empty() ? std::nullopt : std::optional(now);
    }
    void Act(host::qt::WindowScreen& screen) override
    {
        const Step step = steps_.front();
        steps_.pop_front();
        if (StackWindow* window = screen.Window())
            step(*window);
        else
            throw std::runtime_error("no window to act on");
    }
    bool EndsWhenDone() const override { return true; }

private:
    std::deque<Step> steps_;
};

QtCallResult* current = nullptr;

struct InstalledScreen {
    host::qt::WindowScreen* real;
    testing_support::FaultyScreen* faults;
};

// The offscreen screen, behind the faults a test may arm.
InstalledScreen& Installed()
{
    static InstalledScreen installed = [] {
        auto made = std::make_unique<host::qt::WindowScreen>(true);
        host::qt::WindowScreen* kept = made.get();
        auto faulty = std::make_unique<testing_support::FaultyScreen>(std::move(made));
        testing_support::FaultyScreen* faults = faulty.get();
        host::Application().SetScreen(std::move(faulty));
        return InstalledScreen{kept, faults};
    }();
    return installed;
}

host::qt::WindowScreen& Screen() { return *Installed().real; }

}  // namespace

QPoint CentreOf(StackWindow& window, const std::string& control) { return window.WindowRect(Control(control)).center(); }

Step Touch(const std::string& control)
{
    return [control](StackWindow& window) {
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, CentreOf(window, control));
    };
}

Step FingerTouch(const std::string& control)
{
    return [control](StackWindow& window) {
        static QPointingDevice* device = QTest::createTouchDevice();
        const QPoint at = CentreOf(window, control);
        QTest::touchEvent(&window, device).press(0, at, &window);
        QTest::touchEvent(&window, device).release(0, at, &window);
        QCoreApplication::processEvents();
    };
}

Step Press(const std::string& control)
{
    return [control](StackWindow& window) {
        QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, CentreOf(window, control));
    };
}

Step Release(const std::string& control)
{
    return [control](StackWindow& window) {
        QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, CentreOf(window, control));
    };
}

Step Key(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    return [=](StackWindow& window) { QTest::sendKeyEvent(QTest::Click, &window, key, text, modifiers); };
}

Step Type(const QString& text)
{
    return [text](StackWindow& window) {
        for (const QChar character : text) {
            const QChar capital = character.toUpper();
            const Qt::Key key = character == u' ' ? Qt::Key_Space : static_cast<Qt::Key>(capital.unicode());
            QTest::sendKeyEvent(QTest::Click, &window, key, QString(character), Qt::NoModifier);
        }
    };
}

testing_support::FaultyScreen& Faults() { return *Installed().faults; }

host::qt::WindowScreen& TheScreen() { return Screen(); }

Step ShotTo(const std::string& utf8_path)
{
    return [utf8_path](StackWindow&) { Screen().SaveShot(utf8_path); };
}

Step Shot(const std::string& name)
{
    return [name](StackWindow& window) { current->shots[name] = window.Grab(); };
}

std::vector<std::string> QtCallResult::Lines(const std::string& kind) const
{
    std::vector<std::string> lines;
    for (const std::string& line : trace)
        if (line.starts_with(kind + ": "))
            lines.push_back(line.substr(kind.size() + 2));
    return lines;
}

std::string QtCallResult::Last(const std::string& kind) const
{
    const std::vector<std::string> lines = Lines(kind);
    return lines.empty() ? "" : lines.back();
}

QtCall::QtCall() : params_{"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"} {}

QtCall& QtCall::Param(int index, const std::string& utf8)
{
    params_.at(static_cast<std::size_t>(index)) = utf8;
    return *this;
}

QtCallResult QtCall::Run(std::vector<Step> steps) const
{
    QtCallResult result;
    current = &result;
    host::qt::WindowScreen& screen = Screen();
    screen.SetCustomer(std::make_unique<StepCustomer>(std::move(steps)));
    host::SetTraceSink([&result](const std::string& line) { result.trace.push_back(line); });
    std::vector<host::Variant> params;
    for (const std::string& value : params_)
        params.emplace_back(std::string_view(host::Utf8ToCp1252(value)));
    host::Variant answers = host::Variant::Array(0, 7);
    try {
        Cli_Tzc04182::CriaInfAdicional(params.data(), 16, answers);
        for (int32_t slot = 0; slot < 8; ++slot)
            result.answers.push_back(host::Cp1252ToUtf8(answers.Element(slot).ToString()));
    } catch (const std::exception& error) {
        result.error = error.what();
    }
    host::SetTraceSink(nullptr);
    screen.SetCustomer(nullptr);
    current = nullptr;
    return result;
}

std::optional<std::string> CompareWithReference(const QImage& picture, const std::string& name)
{
    const QString path = QStringLiteral(TZC_QT_REFERENCES "/") + QString::fromStdString(name) + ".png";
    if (const char* update = std::getenv("TZC_UPDATE_REFERENCES"); update != nullptr && std::string(update) == "1") {
        if (!picture.save(path, "PNG"))
            return "cannot write " + path.toStdString();
        return std::nullopt;
    }
    const QImage reference = QImage(path).convertToFormat(QImage::Format_RGB32);
    if (reference.isNull())
        return "no reference picture " + path.toStdString();
    const QImage actual = picture.convertToFormat(QImage::Format_RGB32);
    if (reference.size() != actual.size())
        return "size differs from " + path.toStdString();
    // Glyph edges may shift a little between font renderers; shapes and colours may not.
    constexpr int kChannelTolerance = 40;
    long differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            const int delta = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                        std::abs(qBlue(a) - qBlue(b))});
            if (delta > kChannelTolerance)
                ++differing;
        }
    const long allowed = static_cast<long>(actual.width()) * actual.height() / 200;
    if (differing > allowed) {
        actual.save(QStringLiteral(TZC_QT_FAILED_DIR "/") + QString::fromStdString(name) + ".png", "PNG");
        return std::to_string(differing) + " pixels differ from " + path.toStdString() + " (at most " +
               std::to_string(allowed) + " may); the picture taken is in " TZC_QT_FAILED_DIR;
    }
    return std::nullopt;
}

}  // namespace qt_testing
