#include "win32_harness.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>

#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/text/strings.h"
#include "host/text/trace.h"
#include "host/variant/variant.h"

namespace win32_testing {

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
class StepCustomer final : public host::win32::Customer {
public:
    explicit StepCustomer(std::vector<Step> steps) : steps_(steps.begin(), steps.end()) {}
    std::optional<host::TimePoint> NextDue(host::TimePoint now) override
    {
        return steps_.empty() ? std::nullopt : std::optional(now);
    }
    void Act(WindowScreen& screen) override
    {
        const Step step = steps_.front();
        steps_.pop_front();
        step(screen);
    }
    bool EndsWhenDone() const override { return true; }

private:
    std::deque<Step> steps_;
};

CallResult* current = nullptr;

// Input sent through the system arrives in the queue a moment later: the step is done once it is
// there, so the next step acts after it has been handled.
void AwaitInput()
{
    for (int waited = 0; waited < 2000 && HIWORD(GetQueueStatus(QS_INPUT)) == 0; ++waited)
        Sleep(1);
}

void SendInputs(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    AwaitInput();
}

POINT ScreenCentre(WindowScreen& screen, const std::string& name)
{
    host::TControl& control = Control(name);
    host::win32::FormWindow* window = screen.WindowOf(control);
    if (window == nullptr)
        throw std::runtime_error(name + " is on no window");
    const RECT rect = window->ClientRect(control);
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(window->Handle(), &centre);
    return centre;
}

INPUT Mouse(DWORD flags, POINT at = {})
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    return input;
}

INPUT Keyboard(WORD virtual_key, bool up, WORD unicode = 0)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = unicode != 0 ? 0 : virtual_key;
    input.ki.wScan = unicode != 0 ? unicode : static_cast<WORD>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (unicode != 0 ? KEYEVENTF_UNICODE : 0);
    return input;
}

Step PostedButton(const std::string& control, UINT message)
{
    return [control, message](WindowScreen& screen) {
        host::win32::FormWindow* window = screen.WindowOf(Control(control));
        const RECT rect = window->ClientRect(Control(control));
        PostMessageA(window->Handle(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                     MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    };
}

}  // namespace

namespace {

struct InstalledScreen {
    WindowScreen* real;
    testing_support::FaultyScreen* faults;
};

// The screen, behind the faults a test may arm.
InstalledScreen& Installed()
{
    static InstalledScreen installed = [] {
        const char* chosen = std::getenv("TZC_SCREEN");
        auto made = std::make_unique<WindowScreen>(chosen != nullptr && std::string(chosen) == "offscreen");
        WindowScreen* kept = made.get();
        auto faulty = std::make_unique<testing_support::FaultyScreen>(std::move(made));
        testing_support::FaultyScreen* faults = faulty.get();
        host::Application().SetScreen(std::move(faulty));
        return InstalledScreen{kept, faults};
    }();
    return installed;
}

}  // namespace

WindowScreen& Screen() { return *Installed().real; }

testing_support::FaultyScreen& Faults() { return *Installed().faults; }

Step ShotTo(const std::string& utf8_path)
{
    return [utf8_path](WindowScreen& screen) { screen.SaveShot(utf8_path); };
}

Step Touch(const std::string& control)
{
    return [control](WindowScreen& screen) {
        if (screen.Offscreen())
            return PostedTouch(control)(screen);
        const POINT at = ScreenCentre(screen, control);
        SendInputs({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at), Mouse(MOUSEEVENTF_LEFTDOWN),
                    Mouse(MOUSEEVENTF_LEFTUP)});
    };
}

Step PostedTouch(const std::string& control)
{
    return [control](WindowScreen& screen) {
        PostedButton(control, WM_LBUTTONDOWN)(screen);
        PostedButton(control, WM_LBUTTONUP)(screen);
    };
}

Step Press(const std::string& control)
{
    return [control](WindowScreen& screen) {
        if (screen.Offscreen())
            return PostedButton(control, WM_LBUTTONDOWN)(screen);
        SendInputs({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ScreenCentre(screen, control)),
                    Mouse(MOUSEEVENTF_LEFTDOWN)});
    };
}

Step Release(const std::string& control)
{
    return [control](WindowScreen& screen) {
        if (screen.Offscreen())
            return PostedButton(control, WM_LBUTTONUP)(screen);
        SendInputs({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ScreenCentre(screen, control)),
                    Mouse(MOUSEEVENTF_LEFTUP)});
    };
}

// Offscreen no window has the keyboard: keys are posted to the form on top, as the scripted
// customer posts them, and the message loop translates them.
void PostKey(WindowScreen& screen, WORD virtual_key)
{
    PostMessageA(screen.TopWindow()->Handle(), WM_KEYDOWN, virtual_key,
                 static_cast<LPARAM>(1 | (MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC) << 16)));
}

Step Key(WORD virtual_key, bool shift)
{
    return [=](WindowScreen& screen) {
        if (screen.Offscreen() && !shift)
            return PostKey(screen, virtual_key);
        std::vector<INPUT> inputs;
        if (shift)
            inputs.push_back(Keyboard(VK_SHIFT, false));
        inputs.push_back(Keyboard(virtual_key, false));
        inputs.push_back(Keyboard(virtual_key, true));
        if (shift)
            inputs.push_back(Keyboard(VK_SHIFT, true));
        SendInputs(inputs);
    };
}

Step Type(const std::string& utf8)
{
    return [utf8](WindowScreen& screen) {
        if (screen.Offscreen()) {
            for (const char byte : host::Utf8ToCp1252(utf8))
                PostMessageA(screen.TopWindow()->Handle(), WM_CHAR, static_cast<unsigned char>(byte), 1);
            return;
        }
        for (const char32_t code_point : host::Utf8ToCodePoints(utf8)) {
            // A key of the layout where the character has one, else the character itself.
            const SHORT key = code_point < 0x80 ? VkKeyScanA(static_cast<char>(code_point)) : SHORT(-1);
            if (key == -1) {
                const auto unicode = static_cast<WORD>(code_point);
                SendInputs({Keyboard(0, false, unicode), Keyboard(0, true, unicode)});
                continue;
            }
            const bool shift = (key & 0x100) != 0;
            std::vector<INPUT> inputs;
            if (shift)
                inputs.push_back(Keyboard(VK_SHIFT, false));
            inputs.push_back(Keyboard(LOBYTE(key), false));
            inputs.push_back(Keyboard(LOBYTE(key), true));
            if (shift)
                inputs.push_back(Keyboard(VK_SHIFT, true));
            SendInputs(inputs);
        }
    };
}

Step Shot(const std::string& name)
{
    return [name](WindowScreen& screen) { current->shots.insert_or_assign(name, screen.Grab()); };
}

namespace {

// The windows of this thread that show, topmost first.
std::vector<HWND> ShownWindows()
{
    std::vector<HWND> shown;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT))
        if (IsWindowVisible(window) && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
            shown.push_back(window);
    return shown;
}

Picture Read(HDC from, const RECT& rect, POINT origin)
{
    Picture picture(rect.right - rect.left, rect.bottom - rect.top);
    BitBlt(picture.Dc(), 0, 0, picture.Width(), picture.Height(), from, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    return picture;
}

bool Inside(const RECT& rect, int x, int y) { return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom; }

// Whether the display shows, at each window's place, what the window has drawn: the parts of it
// that no window above covers.
bool DisplayShows(const std::vector<HWND>& windows)
{
    const HDC display = GetDC(nullptr);
    std::vector<RECT> above;
    bool same = true;
    for (const HWND window : windows) {
        RECT rect{};
        GetWindowRect(window, &rect);
        const HDC own = GetWindowDC(window);
        const Picture drawn = Read(own, rect, {0, 0});
        ReleaseDC(window, own);
        const Picture shown = Read(display, rect, {rect.left, rect.top});
        for (int y = 0; y < drawn.Height() && same; ++y)
            for (int x = 0; x < drawn.Width() && same; ++x) {
                const int sx = rect.left + x, sy = rect.top + y;
                if (std::none_of(above.begin(), above.end(), [&](const RECT& r) { return Inside(r, sx, sy); }))
                    same = (drawn.Bits()[y * drawn.Width() + x] & 0xFFFFFF) ==
                           (shown.Bits()[y * shown.Width() + x] & 0xFFFFFF);
            }
        above.push_back(rect);
    }
    ReleaseDC(nullptr, display);
    return same;
}

// Waits, at most 5 s, until the display shows what every window of the thread has drawn: the X
// server shows a window's picture a moment after Wine has drawn it, and a message box just
// opened may not show yet.
void AwaitDisplayed()
{
    const std::vector<HWND> windows = ShownWindows();
    for (const HWND window : windows)
        UpdateWindow(window);
    for (int waited = 0; waited < 500; ++waited) {
        // Wine hands what windows drew to the X server while the thread waits for messages.
        if (MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, 0) != WAIT_TIMEOUT)
            Sleep(10);
        if (DisplayShows(windows))
            return;
    }
    throw std::runtime_error("the display did not show the windows' pictures within 5 s");
}

}  // namespace

Step WindowShot(const std::string& name)
{
    return [name](WindowScreen& screen) {
        // The dialog's window read back from the display, with whatever lies over it.
        if (host::win32::FormWindow* top = screen.TopWindow())
            top->PaintNow();
        AwaitDisplayed();
        RECT shown{};
        GetWindowRect(reinterpret_cast<HWND>(Cli_Tzc04182::frmCNPJCPF->GetHandle()), &shown);
        Picture picture(shown.right - shown.left, shown.bottom - shown.top);
        const HDC display = GetDC(nullptr);
        BitBlt(picture.Dc(), 0, 0, picture.Width(), picture.Height(), display, shown.left, shown.top, SRCCOPY);
        ReleaseDC(nullptr, display);
        GdiFlush();
        current->shots.insert_or_assign(name, std::move(picture));
    };
}

Step TouchAt(POINT screen_point)
{
    return [screen_point](WindowScreen&) {
        SendInputs({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen_point), Mouse(MOUSEEVENTF_LEFTDOWN),
                    Mouse(MOUSEEVENTF_LEFTUP)});
    };
}

Step Check(std::function<void(WindowScreen& screen)> check) { return check; }

UINT ExpectedDpi()
{
    const char* dpi = std::getenv("TZC_EXPECTED_DPI");
    return dpi != nullptr && *dpi != '\0' ? static_cast<UINT>(std::atoi(dpi)) : 96;
}

std::vector<std::string> CallResult::Lines(const std::string& kind) const
{
    std::vector<std::string> lines;
    for (const std::string& line : trace)
        if (line.starts_with(kind + ": "))
            lines.push_back(line.substr(kind.size() + 2));
    return lines;
}

Call::Call() : params_{"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"} {}

Call& Call::Param(int index, const std::string& utf8)
{
    params_.at(static_cast<std::size_t>(index)) = utf8;
    return *this;
}

CallResult Call::Run(std::vector<Step> steps) const
{
    CallResult result;
    current = &result;
    WindowScreen& screen = Screen();
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

namespace {

// The picture drawn `scale` times as large, each pixel an average of those it covers.
Picture Scaled(const Picture& original, double scale)
{
    Picture scaled(static_cast<int>(std::lround(original.Width() * scale)),
                   static_cast<int>(std::lround(original.Height() * scale)));
    SetStretchBltMode(scaled.Dc(), HALFTONE);
    SetBrushOrgEx(scaled.Dc(), 0, 0, nullptr);
    StretchBlt(scaled.Dc(), 0, 0, scaled.Width(), scaled.Height(), original.Dc(), 0, 0, original.Width(),
               original.Height(), SRCCOPY);
    GdiFlush();
    return scaled;
}

}  // namespace

std::optional<std::string> CompareWithReference(const Picture& picture, const std::string& name, double scale)
{
    const std::string path = TZC_QT_REFERENCES "/" + name + ".png";
    Picture reference = Picture::Load(std::wstring(path.begin(), path.end()));
    if (scale != 1.0)
        reference = Scaled(reference, scale);
    if (reference.Width() != picture.Width() || reference.Height() != picture.Height())
        return "size differs from " + path;
    // Glyph edges differ between Wine's GDI text and Qt's rasteriser that drew the references
    // (measured: 1.5 to 3 % of the picture, the text and the icons' strokes); shapes and colours
    // may not, and FixedColoursSitWhereTheLayoutPutsThem checks them to the pixel. A scaled
    // reference puts edges up to a pixel away from where a scaled drawing does: there a pixel
    // matches when one of the reference's within a pixel does.
    constexpr int kChannelTolerance = 40;
    const int reach = scale != 1.0 ? 1 : 0;
    const auto close_enough = [](host::TColor a, host::TColor b) {
        return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) <= kChannelTolerance;
    };
    long differing = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const host::TColor a = picture.Pixel(x, y);
            bool matched = false;
            for (int dy = -reach; dy <= reach && !matched; ++dy)
                for (int dx = -reach; dx <= reach && !matched; ++dx) {
                    const int rx = std::clamp(x + dx, 0, picture.Width() - 1);
                    const int ry = std::clamp(y + dy, 0, picture.Height() - 1);
                    matched = close_enough(a, reference.Pixel(rx, ry));
                }
            if (!matched)
                ++differing;
        }
    const long allowed = static_cast<long>(picture.Width()) * picture.Height() / 25;
    if (differing > allowed) {
        const std::string suffix = scale != 1.0 ? "-x" + std::to_string(std::lround(scale * 100)) : "";
        const std::string failed = TZC_WIN32_FAILED_DIR "/" + name + suffix + ".png";
        picture.SavePng(std::wstring(failed.begin(), failed.end()));
        return std::to_string(differing) + " pixels differ from " + path + " (at most " + std::to_string(allowed) +
               " may); the picture taken is " + failed;
    }
    return std::nullopt;
}

}  // namespace win32_testing
