// A till's own Qt Widgets program calling the module: its QApplication, its main window, and a
// button that asks the customer for the receipt data. The module finds the program's Qt
// application and opens its dialog on the same thread, modally; the main window keeps being
// served while the customer answers, and the answers show in it.
//
//     qt-host [--press N]
//
// --press N presses the button N times by itself and quits after the last call (a test plays the
// customer with TZC_INPUT). Each call prints "call K: 0=...|1=...|...|7=..." or "call K: error: TEXT".
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <string>

#include "tzc04182.h"

namespace {

// One call with the typical parameters: empty answers, the document asked, then name and address.
QString AskCustomer()
{
    const char* values[17] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    tzc_variant params[17];
    for (int i = 0; i < 17; ++i)
        params[i] = tzc_variant_string(values[i]);
    tzc_variant result = tzc_variant_array(0, 7);
    char error[512];
    QString answers;
    if (CriaInfAdicionalC(params, 16, &result, error, sizeof error) == TZC_OK) {
        for (int slot = 0; slot < 8; ++slot) {
            char text[256];
            tzc_variant_to_utf8(tzc_array_element(&result, slot), text, sizeof text);
            answers += QStringLiteral("%1%2=%3").arg(slot == 0 ? "" : "|").arg(slot).arg(QString::fromUtf8(text));
        }
    } else {
        answers = QStringLiteral("error: ") + QString::fromUtf8(error);
    }
    for (tzc_variant& param : params)
        tzc_variant_clear(&param);
    tzc_variant_clear(&result);
    return answers;
}

class TillWindow : public QMainWindow {
public:
    TillWindow()
    {
        setWindowTitle(QStringLiteral("Caixa"));
        auto* central = new QWidget(this);
        auto* layout = new QVBoxLayout(central);
        layout->addWidget(button_);
        layout->addWidget(answers_);
        setCentralWidget(central);
        QObject::connect(button_, &QPushButton::clicked, this, [this] { Ask(); });
    }

    // Presses the button `times` times, one call after the other, then quits.
    void PressBy(int times)
    {
        presses_left_ = times;
        if (presses_left_ > 0)
            QTimer::singleShot(0, button_, &QPushButton::click);
    }

private:
    void Ask()
    {
        const QString answers = AskCustomer();
        answers_->setText(answers);
        std::printf("call %d: %s\n", ++calls_, answers.toUtf8().constData());
        std::fflush(stdout);
        // The next press once this one's handler has returned.
        if (presses_left_ > 0)
            QTimer::singleShot(0, this, [this] { --presses_left_ > 0 ? button_->click() : QApplication::quit(); });
    }

    QPushButton* button_ = new QPushButton(QStringLiteral("Dados do cliente"));
    QLabel* answers_ = new QLabel;
    int presses_left_ = 0;
    int calls_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    TillWindow window;
    window.resize(480, 160);
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--press")); at >= 0 && at + 1 < arguments.size())
        window.PressBy(arguments[at + 1].toInt());
    return application.exec();
}
