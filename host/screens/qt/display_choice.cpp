#include "host/screens/qt/display_choice.h"

#include <QGuiApplication>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace host::qt {

QScreen* FindDisplay(const std::string& wanted)
{
    if (wanted.empty())
        return QGuiApplication::primaryScreen();
    const QList<QScreen*> displays = QGuiApplication::screens();
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), index);
    if (error == std::errc() && end == wanted.data() + wanted.size())
        return index < static_cast<std::size_t>(displays.size()) ? displays[static_cast<qsizetype>(index)] : nullptr;
    const QString name = QString::fromStdString(wanted);
    const auto found = std::find_if(displays.begin(), displays.end(), [&](QScreen* display) { return display->name() == name; });
    return found != displays.end() ? *found : nullptr;
}

void RequireDisplay(const std::string& wanted)
{
    if (FindDisplay(wanted) != nullptr)
        return;
    std::string list;
    const QList<QScreen*> displays = QGuiApplication::screens();
    for (qsizetype i = 0; i < displays.size(); ++i) {
        const QRect area = displays[i]->geometry();
        list += (i == 0 ? "" : ", ") + std::to_string(i) + " \"" + displays[i]->name().toStdString() + "\" " +
                std::to_string(area.width()) + "x" + std::to_string(area.height());
    }
    throw std::runtime_error("TZC_DISPLAY=" + wanted + " names no display; the displays are: " +
                             (list.empty() ? "none" : list));
}

QScreen* DisplayToOpenOn(const std::string& wanted)
{
    QScreen* display = FindDisplay(wanted);
    return display != nullptr ? display : QGuiApplication::primaryScreen();
}

double FitScale(QSize form, QSize area, double pixel_ratio)
{
    if (form.isEmpty() || area.isEmpty() || pixel_ratio <= 0)
        return 1.0;
    // In device pixels: at a fractional ratio the scaled area is rounded up from the display's.
    const auto fit = [pixel_ratio](int room, int need) {
        return std::floor(room * pixel_ratio) / (need * pixel_ratio);
    };
    return std::min({1.0, fit(area.width(), form.width()), fit(area.height(), form.height())});
}

}  // namespace host::qt
