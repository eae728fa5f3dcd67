// tzc-bare-x: the least a window on X does, measured by tzc-x-frames beside the module. Speaks the
// protocol of tzc-calls-on-go ("ready"; "call" answered "done" when the call ends; "rss"; "cpu";
// "quit"). The dialog's picture (a PNG) is read at start; the first call makes a kept window named
// as the dialog, with the picture as its X background, and each call maps it at the screen's
// centre; a key "5" or a touch draws a "5" on the display line, Escape unmaps it and ends the call.
//
//     tzc-bare-x DIALOG.png
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <zlib.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Where the display line's text goes, as the dialog lays it out.
constexpr int kTextLeft = 16, kTextBaseline = 84, kDigitWidth = 10;

struct Rgba {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, as a 24-bit ZPixmap takes them
};

std::uint32_t BigEndian(const unsigned char* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

int Paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The pictures our screens save: 8-bit RGB or RGBA, not interlaced.
Rgba ReadPng(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 33 || std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) != 0)
        throw std::runtime_error(std::string("not a PNG: ") + path);
    Rgba picture;
    int channels = 0;
    std::vector<unsigned char> packed;
    for (std::size_t at = 8; at + 12 <= bytes.size();) {
        const std::uint32_t length = BigEndian(&bytes[at]);
        const std::string type(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        const unsigned char* data = &bytes[at + 8];
        if (at + 12 + length > bytes.size())
            break;
        if (type == "IHDR") {
            picture.width = static_cast<int>(BigEndian(data));
            picture.height = static_cast<int>(BigEndian(data + 4));
            channels = data[9] == 2 ? 3 : data[9] == 6 ? 4 : 0;
            if (data[8] != 8 || channels == 0 || data[12] != 0)
                throw std::runtime_error(std::string("a PNG of a kind not read here: ") + path);
        } else if (type == "IDAT") {
            packed.insert(packed.end(), data, data + length);
        }
        at += 12 + length;
    }
    const std::size_t stride = static_cast<std::size_t>(picture.width) * channels;
    std::vector<unsigned char> rows((stride + 1) * picture.height);
    uLongf size = rows.size();
    if (channels == 0 || uncompress(rows.data(), &size, packed.data(), packed.size()) != Z_OK || size != rows.size())
        throw std::runtime_error(std::string("cannot decode ") + path);
    std::vector<unsigned char> previous(stride, 0), row(stride);
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const unsigned char* line = &rows[y * (stride + 1)];
        for (std::size_t i = 0; i < stride; ++i) {
            const int left = i >= static_cast<std::size_t>(channels) ? row[i - channels] : 0;
            const int up = previous[i];
            const int up_left = i >= static_cast<std::size_t>(channels) ? previous[i - channels] : 0;
            const int predicted = line[0] == 1 ? left : line[0] == 2 ? up : line[0] == 3 ? (left + up) / 2
                                : line[0] == 4 ? Paeth(left, up, up_left) : 0;
            row[i] = static_cast<unsigned char>(line[1 + i] + predicted);
        }
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* pixel = &row[static_cast<std::size_t>(x) * channels];
            picture.pixels[static_cast<std::size_t>(y) * picture.width + x] =
                0xFF000000u | (std::uint32_t{pixel[0]} << 16) | (std::uint32_t{pixel[1]} << 8) | pixel[2];
        }
        previous = row;  // what the next row's filters read above them
    }
    return picture;
}

long ResidentKib()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Answer(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

class BareWindow {
public:
    BareWindow(Display* display, Rgba picture) : display_(display), picture_(std::move(picture)) {}

    void Call()
    {
        const int screen = DefaultScreen(display_);
        if (window_ == 0)
            Make(screen);
        typed_ = 0;
        // The call starts from the picture: nothing of the last call's.
        XCopyArea(display_, background_, shown_, gc_, 0, 0, picture_.width, picture_.height, 0, 0);
        XMoveWindow(display_, window_, (DisplayWidth(display_, screen) - picture_.width) / 2,
                    (DisplayHeight(display_, screen) - picture_.height) / 2);
        XMapRaised(display_, window_);
        XFlush(display_);
        calling_ = true;
    }

    // What the server reported; true when the call has ended.
    bool Handle(XEvent& event)
    {
        if (event.xany.window != window_ || !calling_)
            return false;
        switch (event.type) {
        case Expose:
            XCopyArea(display_, shown_, window_, gc_, event.xexpose.x, event.xexpose.y, event.xexpose.width,
                      event.xexpose.height, event.xexpose.x, event.xexpose.y);
            break;
        case ButtonPress: Type(); break;
        case KeyPress: {
            char text[8] = "";
            KeySym symbol = NoSymbol;
            XLookupString(&event.xkey, text, sizeof text, &symbol, nullptr);
            if (symbol == XK_Escape) {
                XUnmapWindow(display_, window_);
                XFlush(display_);
                calling_ = false;
                return true;
            }
            if (std::strcmp(text, "5") == 0)
                Type();
            break;
        }
        default: break;
        }
        XFlush(display_);
        return false;
    }

private:
    void Make(int screen)
    {
        const Window root = RootWindow(display_, screen);
        const int depth = DefaultDepth(display_, screen);
        XImage* image = XCreateImage(display_, DefaultVisual(display_, screen), depth, ZPixmap, 0,
                                     reinterpret_cast<char*>(picture_.pixels.data()), picture_.width, picture_.height,
                                     32, 0);
        background_ = XCreatePixmap(display_, root, picture_.width, picture_.height, depth);
        shown_ = XCreatePixmap(display_, root, picture_.width, picture_.height, depth);
        gc_ = XCreateGC(display_, background_, 0, nullptr);
        XPutImage(display_, background_, gc_, image, 0, 0, 0, 0, picture_.width, picture_.height);
        image->data = nullptr;  // the pixels stay picture_'s
        XDestroyImage(image);
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.background_pixmap = background_;
        attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask;
        window_ = XCreateWindow(display_, root, 0, 0, picture_.width, picture_.height, 0, depth, InputOutput,
                                CopyFromParent, CWOverrideRedirect | CWBackPixmap | CWEventMask, &attributes);
        XStoreName(display_, window_, "TZC04182");
        XSetForeground(display_, gc_, BlackPixel(display_, screen));
    }

    // A "5" on the display line, drawn where the window shows and where it is kept.
    void Type()
    {
        const int left = kTextLeft + kDigitWidth * (typed_++ % 50);
        for (Drawable target : {static_cast<Drawable>(shown_), static_cast<Drawable>(window_)})
            XDrawString(display_, target, gc_, left, kTextBaseline, "5", 1);
    }

    Display* display_;
    Rgba picture_;
    Window window_ = 0;
    Pixmap background_ = 0, shown_ = 0;
    GC gc_ = nullptr;
    int typed_ = 0;
    bool calling_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tzc-bare-x DIALOG.png\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "tzc-bare-x: no X display\n");
        return 1;
    }
    try {
        BareWindow window(display, ReadPng(argv[1]));
        Answer("ready");
        std::string pending;
        for (;;) {
            pollfd sources[2] = {{0, POLLIN, 0}, {ConnectionNumber(display), POLLIN, 0}};
            if (XPending(display) == 0)
                poll(sources, 2, -1);
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                if (window.Handle(event))
                    Answer("done ");
            }
            if ((sources[0].revents & (POLLIN | POLLHUP)) == 0)
                continue;
            char chunk[256];
            const ssize_t got = read(0, chunk, sizeof chunk);
            if (got <= 0)
                break;
            pending.append(chunk, static_cast<std::size_t>(got));
            for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (line == "quit")
                    return 0;
                if (line == "call")
                    window.Call();
                else if (line == "rss")
                    Answer("rss " + std::to_string(ResidentKib()));
                else if (line == "cpu")
                    Answer("cpu " + std::to_string(CpuSeconds()));
                else
                    Answer("error unknown command " + line);
            }
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "tzc-bare-x: %s\n", failure.what());
        return 1;
    }
    return 0;
}
