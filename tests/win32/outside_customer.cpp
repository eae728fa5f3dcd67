// A customer outside the dialog's process, as a person at the till: waits for the dialog's window,
// touches the CPF on the digit keypad and "Confirmar" through the system's input, then types the
// name and the address on the keyboard. Exits 1 when no dialog shows within 10 minutes (a 32-bit
// host under the i386 emulator can be slow to start).
#include <windows.h>

#include <cstdio>

namespace {

void Click(HWND dialog, int x, int y)
{
    RECT window{};
    GetWindowRect(dialog, &window);
    const double scale = (window.right - window.left) / 730.0;
    INPUT inputs[3]{};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[0].mi.dx = MulDiv(window.left + static_cast<int>(x * scale), 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    inputs[0].mi.dy = MulDiv(window.top + static_cast<int>(y * scale), 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
    Sleep(150);
}

void Type(const char* text)
{
    for (const char* c = text; *c != '\0'; ++c) {
        const SHORT key = VkKeyScanA(*c);
        INPUT inputs[4]{};
        int count = 0;
        auto add = [&](WORD vk, bool up) {
            inputs[count].type = INPUT_KEYBOARD;
            inputs[count].ki.wVk = vk;
            inputs[count].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            ++count;
        };
        if (key & 0x100)
            add(VK_SHIFT, false);
        add(LOBYTE(key), false);
        add(LOBYTE(key), true);
        if (key & 0x100)
            add(VK_SHIFT, true);
        SendInput(count, inputs, sizeof(INPUT));
        Sleep(60);
    }
}

}  // namespace

int main()
{
    HWND dialog = nullptr;
    for (int waited = 0; waited < 6000 && !(dialog != nullptr && IsWindowVisible(dialog)); ++waited) {
        Sleep(100);
        dialog = FindWindowA("Tzc04182Form", nullptr);
    }
    if (dialog == nullptr || !IsWindowVisible(dialog)) {
        std::fprintf(stderr, "outside customer: no dialog showed\n");
        return 1;
    }
    Sleep(500);
    // The digit keypad stands at 10, 115: keys of 90 x 60 at lefts 164, 256, 348 and tops 1, 62,
    // 123; "0" at 164, 184, 274 wide. "Confirmar" at 616, 298, 105 x 60.
    for (const char* digit = "52998224725"; *digit != '\0'; ++digit) {
        const int d = *digit - '0';
        if (d == 0)
            Click(dialog, 10 + 164 + 137, 115 + 184 + 30);
        else
            Click(dialog, 10 + 164 + 92 * ((d - 1) % 3) + 45, 115 + 1 + 61 * ((d - 1) / 3) + 30);
    }
    Click(dialog, 616 + 52, 298 + 30);
    Sleep(500);
    Type("MARIA\r");
    Sleep(500);
    Type("RUA 1\r");
    return 0;
}
