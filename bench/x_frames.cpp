// tzc-x-frames: what the customer sees, measured from outside the process that shows the dialog.
// Runs a host (tzc-calls-on-go, Linux or Windows under Wine) on the X display and, for each call:
// asks for the call, waits until the server maps the dialog's window and its display line is
// painted (call to first frame), then presses keys and touches the keypad through XTest and reads
// the display line back from the server until its pixels change (key to frame, touch to frame),
// and ends the call with Escape. Every time stamp is this process's steady clock.
// From the map on, the whole window is read back from the server as fast as it can be (shared
// memory) until the dialog has shown for a while: every read that is not the settled dialog (black,
// unpainted, half painted, or an earlier customer's answers on the display line) is counted.
//
//     tzc-x-frames CALLS KEYS TOUCHES -- HOST_COMMAND...
//
// Prints one line: first_frame_us=N later_frame_us=N,... key_frame_us=N,... touch_frame_us=N,...
// frames_read=N,... frames_not_dialog=N,... (per call) rss_kib=AFTER_10_CALLS,AFTER_THE_LAST (the
// host's resident size, the window kept) inputs_sent_again=N (keys or touches that did not arrive).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <dlfcn.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
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
// How long the window is read after it first shows the dialog, to catch a frame that breaks it.
constexpr std::chrono::milliseconds kSettle{30};
constexpr int kSettleReads = 10;

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

template <typename Done>
void WaitFor(const char* what, Done done)
{
    const SteadyClock::time_point start = SteadyClock::now();
    while (!done()) {
        if (SteadyClock::now() - start > kPatience)
            throw std::runtime_error(std::string("timed out waiting for ") + what);
    }
}

// The window's pixels as the server shows them, read into shared memory: one request a read.
class WindowReader {
public:
    WindowReader(Display* display, const Placed& dialog) : display_(display), dialog_(dialog)
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, dialog.window, &attributes);
        const int screen = DefaultScreen(display);
        image_ = XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen), ZPixmap,
                                 nullptr, &segment_, attributes.width, attributes.height);
        if (image_ == nullptr)
            throw std::runtime_error("no shared memory image");
        segment_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * image_->height,
                                IPC_CREAT | 0600);
        segment_.shmaddr = image_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
        segment_.readOnly = False;
        XShmAttach(display, &segment_);
        XSync(display, False);
        shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
    ~WindowReader()
    {
        XShmDetach(display_, &segment_);
        XDestroyImage(image_);
        shmdt(segment_.shmaddr);
    }
    WindowReader(const WindowReader&) = delete;
    WindowReader& operator=(const WindowReader&) = delete;

    // Reads what the screen shows where the window is (the root's pixels: what a customer sees).
    bool Read()
    {
        return XShmGetImage(display_, DefaultRootWindow(display_), image_, dialog_.x, dialog_.y, AllPlanes) != 0;
    }
    unsigned long Pixel(int designed_x, int designed_y) const
    {
        return XGetPixel(image_, dialog_.At(designed_x), dialog_.At(designed_y)) & 0xFFFFFF;
    }
    std::uint64_t Hash() const
    {
        std::uint64_t hash = 1469598103934665603ull;
        const auto* bytes = reinterpret_cast<const unsigned char*>(image_->data);
        const std::size_t size = static_cast<std::size_t>(image_->bytes_per_line) * image_->height;
        for (std::size_t i = 0; i < size; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, std::min<std::size_t>(8, size - i));
            hash = (hash ^ word) * 1099511628211ull;
        }
        return hash;
    }
    // The dialog of a new call, by pixels it must have: the frame's colour at the four corners, the
    // white inside, and a display line with nothing on it (no earlier customer's answer).
    bool LooksLikeTheDialog() const
    {
        constexpr unsigned long kFrame = 0xCC5B2C, kWhite = 0xFFFFFF;
        const int right = kDesignedWidth - 1, bottom = 377;
        for (const auto& [x, y] : {std::pair{0, 0}, {right, 0}, {0, bottom}, {right, bottom}})
            if (Pixel(x, y) != kFrame)
                return false;
        if (Pixel(4, 4) != kWhite || Pixel(right - 4, bottom - 4) != kWhite)
            return false;
        for (int y = kLineTop; y < kLineTop + kLineHeight; ++y)
            for (int x = kLineLeft; x < kLineLeft + kLineWidth; ++x)
                if (Pixel(x, y) != kWhite)
                    return false;
        return true;
    }

private:
    Display* display_;
    Placed dialog_;
    XShmSegmentInfo segment_{};
    XImage* image_ = nullptr;
};

struct FirstFrames {
    double first_frame_us = 0;
    int read = 0;
    int not_dialog = 0;
};

// From the map: reads the window until it shows the dialog, and on for kSettle; the last read is
// the dialog as it settled, and every read that differs from it, or is not the dialog, is counted.
FirstFrames WatchFromTheMap(Display* display, const Placed& dialog, SteadyClock::time_point asked)
{
    WindowReader reader(display, dialog);
    struct Read {
        std::uint64_t hash;
        bool dialog;
    };
    std::vector<Read> reads;
    FirstFrames seen;
    std::optional<SteadyClock::time_point> shown;
    int reads_since_shown = 0;
    const SteadyClock::time_point start = SteadyClock::now();
    while (!shown || SteadyClock::now() - *shown < kSettle || reads_since_shown < kSettleReads) {
        if (SteadyClock::now() - start > kPatience)
            throw std::runtime_error("timed out waiting for the dialog's first frame");
        if (!reader.Read())
            continue;
        const bool dialog_like = reader.LooksLikeTheDialog();
        reads.push_back({reader.Hash(), dialog_like});
        if (shown)
            ++reads_since_shown;
        else if (dialog_like) {
            shown = SteadyClock::now();
            seen.first_frame_us = MicrosecondsSince(asked);
        }
    }
    const std::uint64_t settled = reads.back().hash;
    seen.read = static_cast<int>(reads.size());
    std::string trace;
    for (const Read& read : reads) {
        seen.not_dialog += !read.dialog || read.hash != settled;
        trace += !read.dialog ? 'x' : read.hash != settled ? 'd' : '.';
    }
    if (std::getenv("TZC_X_FRAMES_TRACE") != nullptr)
        std::fprintf(stderr, "reads from the map: %s\n", trace.c_str());
    return seen;
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
        std::vector<double> frames, key_frames, touch_frames, resident, frames_read, frames_not_dialog;
        int lost = 0;
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
            const FirstFrames seen = WatchFromTheMap(display, *dialog, asked);
            frames.push_back(seen.first_frame_us);
            frames_read.push_back(seen.read);
            frames_not_dialog.push_back(seen.not_dialog);
            XSetInputFocus(display, dialog->window, RevertToParent, CurrentTime);
            const auto changed = [&](std::vector<double>& into, auto act) {
                const std::vector<unsigned long> before = DisplayLine(display, *dialog);
                SteadyClock::time_point sent = SteadyClock::now();
                act();
                // Under Wine a key is now and then lost on its way to a window that just took the
                // keyboard: sent again after a second, counted, and timed from the last sending.
                WaitFor("the display line to change", [&] {
                    if (DisplayLine(display, *dialog) != before)
                        return true;
                    if (SteadyClock::now() - sent > std::chrono::seconds(1)) {
                        ++lost;
                        sent = SteadyClock::now();
                        act();
                    }
                    return false;
                });
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
        Print("frames_read", frames_read);
        Print("frames_not_dialog", frames_not_dialog);
        Print("rss_kib", resident);
        std::printf(" inputs_sent_again=%d", lost);
        std::printf("\n");
    } catch (const std::exception& failure) {
        std::printf("error: %s\n", failure.what());
        XCloseDisplay(display);
        return 1;
    }
    XCloseDisplay(display);
    return 0;
}
