#include "support/PanelProbe.h"

#include "resources/resource.h"


namespace {

HMODULE g_module;

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info))
        return {0, 0};
    const SIZE size = BitmapSize(info.hbmColor); // the program's icons are all in colour
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return size;
}

PanelMeasures Measure(HWND panel, HWND picture)
{
    PanelMeasures measures = {};
    const HDC screen = ::GetDC(nullptr);
    measures.dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    measures.smallIconMetrics = {::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)};
    measures.bigIconMetrics = {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
    measures.smallIcon = IconSize(reinterpret_cast<HICON>(::SendMessageW(panel, WM_GETICON, ICON_SMALL, 0)));
    measures.bigIcon = IconSize(reinterpret_cast<HICON>(::SendMessageW(panel, WM_GETICON, ICON_BIG, 0)));
    RECT rect = {};
    ::GetClientRect(picture, &rect);
    measures.pictureBox = {rect.right, rect.bottom};
    measures.picture = BitmapSize(reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    ::GetWindowRect(panel, &rect);
    measures.panelWidth = rect.right - rect.left;
    return measures;
}

void Answer(HWND receiver, HWND panel, const PanelMeasures& measures)
{
    COPYDATASTRUCT copy = {0, sizeof measures, const_cast<PanelMeasures*>(&measures)};
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
        Answer(reinterpret_cast<HWND>(msg.wParam), msg.hwnd, Measure(msg.hwnd, ::GetDlgItem(msg.hwnd, IDC_PICTURE)));
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
