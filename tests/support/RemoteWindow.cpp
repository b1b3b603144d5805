#include "support/RemoteWindow.h"

#include "support/Utf8.h"

#include <gtest/gtest.h>

namespace {

// A text through a length query and a copy, both wide: the A forms come
// back wide across processes for some controls, and would pass through the
// code page otherwise.
std::string AskText(HWND window, UINT lengthMessage, UINT textMessage, WPARAM index, bool sizeInWParam)
{
    const LRESULT length = Ask(window, lengthMessage, index);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const LRESULT copied = Ask(window, textMessage, sizeInWParam ? text.size() : index,
                               reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Utf8(text);
}

} // namespace

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result))
        return static_cast<LRESULT>(result);
    ADD_FAILURE() << "window " << window << " did not answer message 0x" << std::hex << message;
    return 0;
}

std::string TextOf(HWND window)
{
    return AskText(window, WM_GETTEXTLENGTH, WM_GETTEXT, 0, true);
}

std::string ClassOf(HWND window)
{
    wchar_t name[256] = L"";
    ::GetClassNameW(window, name, ARRAYSIZE(name));
    return Utf8(name);
}

std::vector<std::string> ComboItems(HWND combo)
{
    std::vector<std::string> items;
    for (LRESULT index = 0, count = Ask(combo, CB_GETCOUNT); index < count; ++index)
        items.push_back(AskText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(index), false));
    return items;
}

void PostClick(HWND dialog, int controlId)
{
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, controlId)));
}

void PostKey(HWND window, UINT virtualKey)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const bool focused = ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus;
    const HWND target = focused ? info.hwndFocus : window;
    const LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, scanCode | 1);
    ::PostMessageW(target, WM_KEYUP, virtualKey, scanCode | 1 | (LPARAM{3} << 30));
}

// Every caller polls, so a window that comes or goes during the walk is
// seen at the next try.
HWND FindTopLevel(DWORD processId, const std::function<bool(HWND)>& match)
{
    for (HWND window = ::FindWindowExW(nullptr, nullptr, nullptr, nullptr); window;
         window = ::FindWindowExW(nullptr, window, nullptr, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if ((processId == kAnyProcess || owner == processId) && match(window))
            return window;
    }
    return nullptr;
}

HWND FindDialog(DWORD processId, const std::string& caption)
{
    return FindTopLevel(processId, [&](HWND window) {
        return ClassOf(window) == "#32770" && (caption.empty() || TextOf(window) == caption);
    });
}
