#include "support/DesktopInput.h"

#include "support/Wait.h"

namespace {

std::vector<ButtonEvent>* g_recording = nullptr;

LRESULT CALLBACK RecordButton(int code, WPARAM message, LPARAM lParam)
{
    if (code == HC_ACTION && g_recording && (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)) {
        const MSLLHOOKSTRUCT& event = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        g_recording->push_back({message == WM_LBUTTONDOWN, event.pt, Seconds()});
    }
    return ::CallNextHookEx(nullptr, code, message, lParam);
}

LRESULT CALLBACK CountPresses(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN)
        ++reinterpret_cast<ClickTarget*>(::GetWindowLongPtrW(window, GWLP_USERDATA))->clicks;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void Tap(WORD virtualKey)
{
    INPUT input[2] = {};
    if (virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON) {
        const bool left = virtualKey == VK_LBUTTON;
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
        input[1].mi.dwFlags = left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    } else {
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = virtualKey;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ::SendInput(2, input, sizeof(INPUT));
}

void ForgetPastPresses()
{
    for (int key : {VK_LBUTTON, VK_RBUTTON, VK_F2, VK_F3, VK_F4})
        ::GetAsyncKeyState(key);
}

bool operator==(const ButtonEvent& a, const ButtonEvent& b)
{
    return a.down == b.down && a.at.x == b.at.x && a.at.y == b.at.y;
}

ButtonRecorder::ButtonRecorder()
    : m_hook(::SetWindowsHookExW(WH_MOUSE_LL, RecordButton, ::GetModuleHandleW(nullptr), 0))
{
    g_recording = &events;
}

ButtonRecorder::~ButtonRecorder()
{
    g_recording = nullptr;
    ::UnhookWindowsHookEx(m_hook);
}

ClickTarget::ClickTarget()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountPresses;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VexoClickTarget";
    ::RegisterClassW(&windowClass);
    // Top-left, clear of the centred panel and of the sweep below the middle.
    m_window = ::CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 100, 200,
                                 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Keys tapped by the test go here rather than into the panel's lists.
    ::SetForegroundWindow(m_window);
    ::SetCursorPos(200, 200);
    PumpFor(100);
}

ClickTarget::~ClickTarget()
{
    ::DestroyWindow(m_window);
}

bool WaitUntilSettled(const std::function<size_t()>& count)
{
    size_t last = count();
    return WaitUntil([&] {
        PumpFor(500);
        const size_t now = count();
        const bool settled = now == last;
        last = now;
        return settled;
    });
}

bool WaitForFirstIdle(DWORD processId)
{
    const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    const bool idle = process && ::WaitForInputIdle(process, kWaitMs) == 0;
    if (process)
        ::CloseHandle(process);
    return idle;
}

double Seconds()
{
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}
