#pragma once
// Calls the entry on the offscreen Qt screen with a customer made of steps that act through Qt's
// own input events (QTest), and collects the answers, the trace and the pictures taken.
#include <QImage>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/forms/controls.h"
#include "host/screens/qt/stack_window.h"
#include "host/screens/qt/window_screen.h"
#include "support/faulty_screen.h"

namespace qt_testing {

using Step = std::function<void(host::qt::StackWindow& window)>;

// Steps for the customer.
Step Touch(const std::string& control);       // a left click at the control's centre
Step FingerTouch(const std::string& control);  // a touch screen's press and release there
Step Press(const std::string& control);        // held down...
Step Release(const std::string& control);      // ...and let go
Step Key(Qt::Key key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
Step Type(const QString& text);                // characters, each as its key
Step Shot(const std::string& name);
Step ShotTo(const std::string& utf8_path);     // a picture saved as the scripted customer saves it

struct QtCallResult {
    std::vector<std::string> answers;             // UTF-8
    std::vector<std::string> trace;
    std::map<std::string, QImage> shots;
    std::optional<std::string> error;
    std::vector<std::string> Lines(const std::string& kind) const;
    std::string Last(const std::string& kind) const;
};

class QtCall {
public:
    QtCall();  // the typical call
    QtCall& Param(int index, const std::string& utf8);
    QtCallResult Run(std::vector<Step> steps) const;

private:
    std::vector<std::string> params_;
};

// The screen the calls run on, and the faults that may be armed on it.
host::qt::WindowScreen& TheScreen();
testing_support::FaultyScreen& Faults();

// The centre of a control of the form on top, in window coordinates.
QPoint CentreOf(host::qt::StackWindow& window, const std::string& control);

// Compares a picture with tests/qt/reference/NAME.png, allowing for font rendering; with
// TZC_UPDATE_REFERENCES=1 writes the reference instead. Returns a description of the difference,
// or nothing when they match.
std::optional<std::string> CompareWithReference(const QImage& picture, const std::string& name);

}  // namespace qt_testing
