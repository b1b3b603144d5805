#include "support/PanelProbe.h"

#include "resources/resource.h"
#include "support/IconMeasures.h"

#include <cstring>
#include <vector>

namespace {

HMODULE g_module;
int g_dpi; // the scale the panel was last moved to; 0 until then

int ScreenDpi()
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// The measures, followed by the picture's pixels.
std::vector<BYTE> Measure(HWND panel, HWND picture)
{
    PanelMeasures measures = {};
    measures.dpi = g_dpi ? g_dpi : ScreenDpi();
    measures.smallIconMetrics = MetricsAt(SM_CXSMICON, SM_CYSMICON, measures.dpi);
    measures.bigIconMetrics = MetricsAt(SM_CXICON, SM_CYICON, measures.dpi);
    measures.smallIcon = IconSizeOf(reinterpret_cast<HICON>(::SendMessageW(panel, WM_GETICON, ICON_SMALL, 0)));
    measures.bigIcon = IconSizeOf(reinterpret_cast<HICON>(::SendMessageW(panel, WM_GETICON, ICON_BIG, 0)));
    RECT rect = {};
    ::GetClientRect(picture, &rect);
    measures.pictureBox = {rect.right, rect.bottom};
    const HBITMAP bitmap = reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    measures.picture = BitmapSizeOf(bitmap);
    ::GetWindowRect(panel, &rect);
    measures.panelWidth = rect.right - rect.left;
    const HWND about = ::GetLastActivePopup(panel);
    measures.aboutIcon = IconSizeOf(reinterpret_cast<HICON>(
        about != panel ? ::SendDlgItemMessageW(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0) : 0));
    // Without running it, so that it leaves no marker.
    const HMODULE beside = ::LoadLibraryExW(kBesideTheProgram, nullptr, DONT_RESOLVE_DLL_REFERENCES);
    measures.besideFound = beside != nullptr;
    if (beside)
        ::FreeLibrary(beside);

    std::vector<BYTE> answer(sizeof measures + static_cast<size_t>(measures.picture.cx) * measures.picture.cy * 4);
    std::memcpy(answer.data(), &measures, sizeof measures);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, measures.picture.cx, -measures.picture.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC screen = ::GetDC(nullptr);
    if (measures.picture.cy > 0)
        ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(measures.picture.cy), answer.data() + sizeof measures, &info,
                    DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return answer;
}

// Scales a window's size, keeping its top left corner.
RECT Scaled(RECT rect, int to, int from)
{
    rect.right = rect.left + ::MulDiv(rect.right - rect.left, to, from);
    rect.bottom = rect.top + ::MulDiv(rect.bottom - rect.top, to, from);
    return rect;
}

void MoveToScale(HWND panel, HWND picture, int dpi)
{
    const int from = g_dpi ? g_dpi : ScreenDpi();
    RECT box = {};
    ::GetWindowRect(picture, &box);
    ::MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&box), 2);
    box = Scaled(box, dpi, from);
    RECT suggested = {};
    ::GetWindowRect(panel, &suggested);
    suggested = Scaled(suggested, dpi, from);
    g_dpi = dpi;
    ::SendMessageW(panel, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    // What the dialog manager does in its default handling, after the
    // panel's own: the panel and its controls laid out for the new scale.
    ::MoveWindow(panel, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, TRUE);
    ::MoveWindow(picture, box.left, box.top, box.right - box.left, box.bottom - box.top, TRUE);
}

void Answer(HWND receiver, HWND panel, const std::vector<BYTE>& answer)
{
    COPYDATASTRUCT copy = {0, static_cast<DWORD>(answer.size()), const_cast<BYTE*>(answer.data())};
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(receiver, WM_COPYDATA, reinterpret_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(&copy),
                          SMTO_ABORTIFHUNG, 10000, &ignored);
}

// Runs in the program, on its thread, for every message it takes from its queue.
LRESULT CALLBACK ProbeHook(int code, WPARAM removal, LPARAM message)
{
    static const UINT probeMessage = ::RegisterWindowMessageW(kPanelProbeMessage);
    const MSG& msg = *reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && msg.message == probeMessage) {
        const HWND picture = ::GetDlgItem(msg.hwnd, IDC_PICTURE);
        if (msg.lParam != 0) {
            MoveToScale(msg.hwnd, picture, static_cast<int>(msg.lParam));
            // Measured once the panel has handled what the change posted.
            ::PostMessageW(msg.hwnd, probeMessage, msg.wParam, 0);
        } else {
            Answer(reinterpret_cast<HWND>(msg.wParam), msg.hwnd, Measure(msg.hwnd, picture));
        }
    }
    return ::CallNextHookEx(nullptr, code, removal, message);
}

} // namespace

extern "C" HHOOK InstallPanelProbe(DWORD threadId)
{
    return ::SetWindowsHookExW(WH_GETMESSAGE, ProbeHook, g_module, threadId);
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = module;
    return TRUE;
}
