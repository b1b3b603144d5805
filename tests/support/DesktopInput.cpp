#include "support/DesktopInput.h"

#include "support/Wait.h"

#include <chrono>
#include <utility>

namespace {

std::vector<ButtonEvent>* g_recording = nullptr;

LRESULT CALLBACK RecordButton(int code, WPARAM message, LPARAM lParam)
{
    if (code == HC_ACTION && g_recording && (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP))
        g_recording->push_back({message == WM_LBUTTONDOWN, reinterpret_cast<MSLLHOOKSTRUCT*>(lParam)->pt, Seconds()});
    return ::CallNextHookEx(nullptr, code, message, lParam);
}

LRESULT CALLBACK CountPresses(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN)
        ++reinterpret_cast<ClickTarget*>(::GetWindowLongPtrW(window, GWLP_USERDATA))->clicks;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

// Both go through SendInput, as a device driver's input would.
void Tap(WORD virtualKey)
{
    if (virtualKey == VK_RBUTTON) {
        ::mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
        ::mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    } else {
        ::keybd_event(static_cast<BYTE>(virtualKey), 0, 0, 0);
        ::keybd_event(static_cast<BYTE>(virtualKey), 0, KEYEVENTF_KEYUP, 0);
    }
}

void ForgetPastPresses()
{
    for (int key : {VK_LBUTTON, VK_RBUTTON, VK_F2, VK_F3, VK_F4})
        ::GetAsyncKeyState(key);
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
    windowClass.lpszClassName = L"VexoClickTarget";
    ::RegisterClassW(&windowClass);
    // Top-left, clear of the centred panel and of the sweep below the middle.
    m_window = ::CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 100, 200,
                                 200, nullptr, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Keys tapped by the test go here rather than into the panel's lists.
    ::SetForegroundWindow(m_window);
    ::SetCursorPos(200, 200);
}

bool WaitUntilSettled(const std::function<size_t()>& count)
{
    size_t last = count();
    return WaitUntil([&] {
        PumpFor(500);
        const size_t now = count();
        return std::exchange(last, now) == now;
    });
}

double Seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
