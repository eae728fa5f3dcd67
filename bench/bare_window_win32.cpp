// tzc-bare-win32: the least a Win32 window does, measured by tzc-x-frames beside the module (under
// Wine). Speaks the protocol of tzc-calls-on-go ("ready"; "call" answered "done" when the call
// ends; "rss"; "cpu"; "quit"). The dialog's picture (a PNG) is read at start; the first call makes
// a kept popup window named as the dialog, and each call shows it centred with that picture; a
// key "5" or a touch draws a "5" on the display line, Escape hides it and ends the call.
//
//     tzc-bare-win32.exe DIALOG.png
#include <windows.h>
#include <gdiplus.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr UINT kLine = WM_APP + 1;  // a line read from standard input, as a new std::string
constexpr RECT kDisplayLine{12, 66, 602, 89};
constexpr int kDigitWidth = 10;

void Answer(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

DWORD WINAPI ReadLines(void* main_thread)
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string pending;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(input, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        pending.append(chunk, got);
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            PostThreadMessageA(static_cast<DWORD>(reinterpret_cast<uintptr_t>(main_thread)), kLine, 0,
                               reinterpret_cast<LPARAM>(new std::string(line)));
        }
    }
    PostThreadMessageA(static_cast<DWORD>(reinterpret_cast<uintptr_t>(main_thread)), kLine, 0,
                       reinterpret_cast<LPARAM>(new std::string("quit")));
    return 0;
}

struct Bare {
    HBITMAP picture = nullptr;  // as read
    HDC picture_dc = nullptr;
    HDC shown_dc = nullptr;  // the picture with what was typed
    int width = 0, height = 0;
    HWND window = nullptr;
    int typed = 0;
    bool calling = false;

    void Type()
    {
        RECT digit{kDisplayLine.left + 4 + kDigitWidth * (typed++ % 50), kDisplayLine.top,
                   kDisplayLine.left + 4 + kDigitWidth * (typed % 50 == 0 ? 50 : typed % 50), kDisplayLine.bottom};
        DrawTextA(shown_dc, "5", 1, &digit, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        InvalidateRect(window, &digit, FALSE);
    }
};
Bare bare;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        BitBlt(dc, 0, 0, bare.width, bare.height, bare.shown_dc, 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN: bare.Type(); return 0;
    case WM_CHAR:
        if (wParam == '5')
            bare.Type();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && bare.calling) {
            ShowWindow(window, SW_HIDE);
            bare.calling = false;
            Answer("done ");
        }
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void Call()
{
    if (bare.window == nullptr) {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = &Procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "TzcBare";
        RegisterClassA(&window_class);
        bare.window = CreateWindowExA(0, "TzcBare", "TZC04182", WS_POPUP, 0, 0, bare.width, bare.height, nullptr,
                                      nullptr, window_class.hInstance, nullptr);
    }
    bare.typed = 0;
    // The call starts from the picture: nothing of the last call's.
    BitBlt(bare.shown_dc, 0, 0, bare.width, bare.height, bare.picture_dc, 0, 0, SRCCOPY);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(bare.window, HWND_TOP, work.left + (work.right - work.left - bare.width) / 2,
                 work.top + (work.bottom - work.top - bare.height) / 2, bare.width, bare.height, SWP_SHOWWINDOW);
    SetForegroundWindow(bare.window);
    SetFocus(bare.window);
    UpdateWindow(bare.window);
    bare.calling = true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tzc-bare-win32 DIALOG.png\n");
        return 2;
    }
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput startup;
    Gdiplus::GdiplusStartup(&token, &startup, nullptr);
    {
        const std::wstring path(argv[1], argv[1] + std::strlen(argv[1]));
        Gdiplus::Bitmap read(path.c_str());
        if (read.GetLastStatus() != Gdiplus::Ok || read.GetHBITMAP(Gdiplus::Color(0, 0, 0), &bare.picture) != Gdiplus::Ok) {
            std::fprintf(stderr, "tzc-bare-win32: cannot read %s\n", argv[1]);
            return 1;
        }
        bare.width = static_cast<int>(read.GetWidth());
        bare.height = static_cast<int>(read.GetHeight());
    }
    bare.picture_dc = CreateCompatibleDC(nullptr);
    SelectObject(bare.picture_dc, bare.picture);
    bare.shown_dc = CreateCompatibleDC(nullptr);
    SelectObject(bare.shown_dc, CreateCompatibleBitmap(bare.picture_dc, bare.width, bare.height));
    SetBkMode(bare.shown_dc, TRANSPARENT);
    SelectObject(bare.shown_dc, GetStockObject(DEFAULT_GUI_FONT));
    MSG peek;
    PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before the reader posts
    CloseHandle(CreateThread(nullptr, 0, &ReadLines,
                             reinterpret_cast<void*>(static_cast<uintptr_t>(GetCurrentThreadId())), 0, nullptr));
    Answer("ready");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message != kLine) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        const std::string line = *reinterpret_cast<std::string*>(message.lParam);
        delete reinterpret_cast<std::string*>(message.lParam);
        if (line == "quit")
            break;
        if (line == "call") {
            Call();
        } else if (line == "rss") {
            PROCESS_MEMORY_COUNTERS counters{};
            counters.cb = sizeof counters;
            GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
            Answer("rss " + std::to_string(counters.WorkingSetSize / 1024));
        } else if (line == "cpu") {
            FILETIME created, exited, kernel, user;
            GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
            const auto seconds = [](FILETIME time) {
                return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
            };
            Answer("cpu " + std::to_string(seconds(kernel) + seconds(user)));
        } else {
            Answer("error unknown command " + line);
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
