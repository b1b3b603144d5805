#include "support/PanelProbe.h"

#include "support/Wait.h"

#include <cstring>

namespace {

ProbeAnswer* g_answer;
bool g_answered;

LRESULT CALLBACK ReceiveAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA)
        return ::DefWindowProcW(window, message, wParam, lParam);
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    PanelMeasures& m = g_answer->measures;
    if (data->cbData < sizeof m)
        return FALSE;
    std::memcpy(&m, data->lpData, sizeof m);
    CPixels& picture = g_answer->picture;
    if (!picture.Allocate(m.picture.cx, m.picture.cy) || data->cbData != sizeof m + picture.pixels.Size() * 4)
        return FALSE;
    std::memcpy(picture.pixels.Data(), static_cast<const BYTE*>(data->lpData) + sizeof m, data->cbData - sizeof m);
    g_answered = true;
    return TRUE;
}

} // namespace

bool AskProbe(HWND panel, ProbeAnswer& answer, int newDpi)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ReceiveAnswer;
    windowClass.lpszClassName = L"vexo_probe_answer";
    ::RegisterClassW(&windowClass);
    const HWND receiver = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            nullptr, nullptr);
    const HHOOK hook = InstallPanelProbe(::GetWindowThreadProcessId(panel, nullptr));
    g_answer = &answer;
    g_answered = false;
    ::PostMessageW(panel, ::RegisterWindowMessageW(kPanelProbeMessage), reinterpret_cast<WPARAM>(receiver), newDpi);
    const bool answered = hook && WaitUntil([] { return g_answered; });
    ::UnhookWindowsHookEx(hook);
    ::DestroyWindow(receiver);
    return answered;
}
