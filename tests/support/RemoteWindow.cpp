#include "support/RemoteWindow.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kKoreanCodePage = 949;
constexpr UINT kAnswerTimeoutMs = 10000;
// Control id of a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

// Wide, so that the system marshals the text across processes in one form.
LRESULT AskWide(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result)) {
        ADD_FAILURE() << "window " << window << " did not answer message 0x" << std::hex << message;
        return 0;
    }
    return static_cast<LRESULT>(result);
}

std::string ToKorean(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = ::WideCharToMultiByte(kKoreanCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                           0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(kKoreanCodePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr,
                          nullptr);
    return bytes;
}

struct TopLevelQuery {
    DWORD processId;
    const char* className;
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter)
{
    TopLevelQuery& query = *reinterpret_cast<TopLevelQuery*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != query.processId || ClassOf(window) != query.className)
        return TRUE;
    if (!query.caption->empty() && TextOf(window) != *query.caption)
        return TRUE;
    query.found = window;
    return FALSE;
}

} // namespace

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return AskWide(window, message, wParam, lParam);
}

std::string TextOf(HWND window)
{
    const LRESULT length = AskWide(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = AskWide(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return ToKorean(text);
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<std::string> ComboItems(HWND combo)
{
    std::vector<std::string> items;
    const LRESULT count = AskWide(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = AskWide(combo, CB_GETLBTEXTLEN, index, 0);
        std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        const LRESULT copied = AskWide(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        items.push_back(ToKorean(text));
    }
    return items;
}

int ComboSelection(HWND combo)
{
    return static_cast<int>(Ask(combo, CB_GETCURSEL));
}

int CheckState(HWND button)
{
    return static_cast<int>(Ask(button, BM_GETCHECK));
}

int ScrollPosition(HWND scrollBar)
{
    return static_cast<int>(Ask(scrollBar, SBM_GETPOS));
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
    HWND target = window;
    if (::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus)
        target = info.hwndFocus;
    const LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, scanCode | 1);
    ::PostMessageW(target, WM_KEYUP, virtualKey, scanCode | 1 | (LPARAM{3} << 30));
}

HWND FindTopLevel(DWORD processId, const char* className, const std::string& caption)
{
    TopLevelQuery query = {processId, className, &caption, nullptr};
    ::EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string MessageBoxText(HWND box)
{
    return TextOf(::GetDlgItem(box, kMessageBoxTextId));
}

void DismissMessageBox(HWND box)
{
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
