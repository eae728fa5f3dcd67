// tzc-x-frames: what the customer sees, measured from outside the process that shows the dialog.
// Runs a host (tzc-calls-on-go, Linux or Windows under Wine) on the X display and, for each call:
// asks for the call, waits until the server maps the dialog's window and its display line is
// painted (call to first frame), then presses keys and touches the keypad through XTest and reads
// the display line back from the server until its pixels change (key to frame, touch to frame),
// and ends the call with Escape. Every time stamp is this process's steady clock.
//
//     tzc-x-frames CALLS KEYS TOUCHES -- HOST_COMMAND...
//
// Prints one line: first_frame_us=N later_frame_us=N,... key_frame_us=N,... touch_frame_us=N,...
// rss_kib=AFTER_10_CALLS,AFTER_THE_LAST (the host's resident size, the window kept).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <dlfcn.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

double MicrosecondsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count();
}

// The dialog as designed: 730 x 378, its display line and the keypad's "5".
constexpr int kDesignedWidth = 730;
constexpr int kLineLeft = 12, kLineTop = 66, kLineWidth = 590, kLineHeight = 23;
constexpr int kFiveX = 279, kFiveY = 140;
constexpr std::chrono::seconds kPatience{20};

// XTest, loaded at run time: only its shared library is installed, not its header.
class FakeInput {
public:
    FakeInput()
    {
        void* library = dlopen("libXtst.so.6", RTLD_NOW);
        if (library == nullptr)
            throw std::runtime_error("libXtst.so.6 is missing");
        key_ = reinterpret_cast<KeyFunction>(dlsym(library, "XTestFakeKeyEvent"));
        button_ = reinterpret_cast<ButtonFunction>(dlsym(library, "XTestFakeButtonEvent"));
        motion_ = reinterpret_cast<MotionFunction>(dlsym(library, "XTestFakeMotionEvent"));
        if (key_ == nullptr || button_ == nullptr || motion_ == nullptr)
            throw std::runtime_error("libXtst.so.6 lacks the fake input calls");
    }
    void Key(Display* display, KeySym symbol) const
    {
        const unsigned code = XKeysymToKeycode(display, symbol);
        key_(display, code, True, 0);
        key_(display, code, False, 0);
        XFlush(display);
    }
    void Touch(Display* display, int x, int y) const
    {
        motion_(display, -1, x, y, 0);
        button_(display, 1, True, 0);
        button_(display, 1, False, 0);
        XFlush(display);
    }

private:
    using KeyFunction = int (*)(Display*, unsigned, Bool, unsigned long);
    using ButtonFunction = int (*)(Display*, unsigned, Bool, unsigned long);
    using MotionFunction = int (*)(Display*, int, int, int, unsigned long);
    KeyFunction key_ = nullptr;
    ButtonFunction button_ = nullptr;
    MotionFunction motion_ = nullptr;
};

// The host, its standard input and output as pipes.
class Host {
public:
    explicit Host(char** command)
    {
        int to_host[2], from_host[2];
        if (pipe(to_host) != 0 || pipe(from_host) != 0)
            throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(to_host[0], 0);
            dup2(from_host[1], 1);
            close(to_host[1]);
            close(from_host[0]);
            execvp(command[0], command);
            _exit(127);
        }
        close(to_host[0]);
        close(from_host[1]);
        in_ = fdopen(to_host[1], "w");
        out_ = fdopen(from_host[0], "r");
    }
    ~Host()
    {
        std::fclose(in_);
        std::fclose(out_);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    void Send(const char* line)
    {
        std::fputs(line, in_);
        std::fflush(in_);
    }
    // A line when one comes within `patience`.
    std::optional<std::string> ReceiveWithin(std::chrono::milliseconds patience)
    {
        pollfd readable{fileno(out_), POLLIN, 0};
        if (poll(&readable, 1, static_cast<int>(patience.count())) <= 0)
            return std::nullopt;
        return Receive();
    }
    std::string Receive()
    {
        char line[512];
        if (std::fgets(line, sizeof line, out_) == nullptr)
            throw std::runtime_error("the host ended");
        return line;
    }

private:
    pid_t pid_ = -1;
    FILE* in_ = nullptr;
    FILE* out_ = nullptr;
};

struct Placed {
    Window window;
    int x, y, width;
    int At(int designed) const { return designed * width / kDesignedWidth; }
};

bool NamedDialog(Display* display, Window window)
{
    char* name = nullptr;
    const bool named = XFetchName(display, window, &name) != 0 && name != nullptr && std::strcmp(name, "TZC04182") == 0;
    if (name != nullptr)
        XFree(name);
    return named;
}

Placed Where(Display* display, Window window)
{
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    return Placed{window, attributes.x, attributes.y, attributes.width};
}

// Forgets what the server reported before now.
void DropEvents(Display* display)
{
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

// The dialog's window, once the server has mapped it (reported on the root's substructure).
std::optional<Placed> MappedDialog(Display* display)
{
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    if (XPending(display) == 0)
        poll(&connection, 1, 100);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && NamedDialog(display, event.xmap.window))
            return Where(display, event.xmap.window);
    }
    return std::nullopt;
}

// The display line's pixels as the server has them.
std::vector<unsigned long> DisplayLine(Display* display, const Placed& dialog)
{
    const int left = dialog.x + dialog.At(kLineLeft), top = dialog.y + dialog.At(kLineTop);
    const int width = std::max(1, dialog.At(kLineWidth)), height = std::max(1, dialog.At(kLineHeight));
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), left, top, width, height, AllPlanes, ZPixmap);
    if (image == nullptr)
        return pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(XGetPixel(image, x, y));
    XDestroyImage(image);
    return pixels;
}

// Painted: the display line's white field is there (a window not yet painted shows black).
bool Painted(const std::vector<unsigned long>& line)
{
    std::size_t white = 0;
    for (unsigned long pixel : line)
        white += (pixel & 0xFFFFFF) == 0xFFFFFF;
    return !line.empty() && white * 2 > line.size();
}

template <typename Done>
void WaitFor(const char* what, Done done)
{
    const SteadyClock::time_point start = SteadyClock::now();
    while (!done()) {
        if (SteadyClock::now() - start > kPatience)
            throw std::runtime_error(std::string("timed out waiting for ") + what);
    }
}

void Print(const char* name, const std::vector<double>& values)
{
    std::printf(" %s=", name);
    for (std::size_t i = 0; i < values.size(); ++i)
        std::printf("%s%.0f", i == 0 ? "" : ",", values[i]);
    if (values.empty())
        std::printf("0");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 6 || std::strcmp(argv[4], "--") != 0) {
        std::fprintf(stderr, "usage: tzc-x-frames CALLS KEYS TOUCHES -- HOST_COMMAND...\n");
        return 2;
    }
    const int calls = std::atoi(argv[1]), keys = std::atoi(argv[2]), touches = std::atoi(argv[3]);
    signal(SIGPIPE, SIG_IGN);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::printf("error: no X display\n");
        return 1;
    }
    try {
        const FakeInput input;
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
        Host host(argv + 5);
        if (host.Receive().rfind("ready", 0) != 0)
            throw std::runtime_error("the host did not start");
        std::vector<double> frames, key_frames, touch_frames, resident;
        const auto resident_now = [&] {
            host.Send("rss\n");
            const std::string answer = host.Receive();
            if (answer.rfind("rss ", 0) != 0)
                throw std::runtime_error("the host told no resident size");
            resident.push_back(std::stod(answer.substr(4)));
        };
        for (int call = 0; call < calls; ++call) {
            DropEvents(display);
            const SteadyClock::time_point asked = SteadyClock::now();
            host.Send("call\n");
            std::optional<Placed> dialog;
            WaitFor("the dialog's window", [&] { return (dialog = MappedDialog(display)).has_value(); });
            std::vector<unsigned long> line;
            WaitFor("the dialog's first frame", [&] { return Painted(line = DisplayLine(display, *dialog)); });
            frames.push_back(MicrosecondsSince(asked));
            XSetInputFocus(display, dialog->window, RevertToParent, CurrentTime);
            const auto changed = [&](std::vector<double>& into, auto act) {
                const std::vector<unsigned long> before = DisplayLine(display, *dialog);
                const SteadyClock::time_point sent = SteadyClock::now();
                act();
                WaitFor("the display line to change", [&] { return DisplayLine(display, *dialog) != before; });
                into.push_back(MicrosecondsSince(sent));
            };
            for (int i = 0; i < keys; ++i)
                changed(key_frames, [&] { input.Key(display, XK_5); });
            for (int i = 0; i < touches; ++i)
                changed(touch_frames, [&] { input.Touch(display, dialog->x + dialog->At(kFiveX), dialog->y + dialog->At(kFiveY)); });
            // A key sent before the window has the keyboard is lost (Wine): Escape again until the
            // call ends.
            std::optional<std::string> answer;
            for (int tries = 0; !answer && tries < 100; ++tries) {
                input.Key(display, XK_Escape);
                answer = host.ReceiveWithin(std::chrono::milliseconds(200));
            }
            if (!answer || answer->rfind("done", 0) != 0)
                throw std::runtime_error("the call failed");
            if (call + 1 == 10 || call + 1 == calls)
                resident_now();
        }
        host.Send("quit\n");
        std::printf("first_frame_us=%.0f", frames.empty() ? 0.0 : frames.front());
        Print("later_frame_us", std::vector<double>(frames.begin() + (frames.empty() ? 0 : 1), frames.end()));
        Print("key_frame_us", key_frames);
        Print("touch_frame_us", touch_frames);
        Print("rss_kib", resident);
        std::printf("\n");
    } catch (const std::exception& failure) {
        std::printf("error: %s\n", failure.what());
        XCloseDisplay(display);
        return 1;
    }
    XCloseDisplay(display);
    return 0;
}
