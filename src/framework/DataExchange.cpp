#include "framework/DataExchange.h"

#include "framework/Controls.h"
#include "framework/Dialog.h"

#include <climits>
#include <vector>

const wchar_t kIntegerInputMessage[] = L"정수를 입력하십시오.";

CDataExchange::CDataExchange(CDialog& dialog, bool saveAndValidate)
    : m_dialog(dialog)
    , m_bSaveAndValidate(saveAndValidate)
    , m_bFailed(false)
{
}

HWND CDataExchange::Control(int controlId) const
{
    return ::GetDlgItem(m_dialog.GetSafeHwnd(), controlId);
}

void CDataExchange::Fail(int controlId, const wchar_t* message)
{
    if (m_bFailed)
        return;
    m_bFailed = true;
    m_dialog.OnExchangeFailure(controlId, message);
}

bool ParseInteger(const std::wstring& text, int& value)
{
    std::wstring::size_type i = 0;
    const std::wstring::size_type n = text.size();
    // ASCII digits and blanks only, whatever the locale says of other characters.
    auto isBlank = [](wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); };
    auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    while (i < n && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == n || !isDigit(text[i]))
        return false;
    long long magnitude = 0;
    while (i < n && isDigit(text[i])) {
        magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return false;
        ++i;
    }
    while (i < n && isBlank(text[i]))
        ++i;
    if (i != n)
        return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

namespace {
std::wstring ReadText(HWND control)
{
    const int length = ::GetWindowTextLengthW(control);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(control, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}
} // namespace

void DDX_Control(CDataExchange& dx, int controlId, CControl& control)
{
    if (dx.Failed() || control.IsBound())
        return;
    control.Attach(dx.Control(controlId));
}

void DDX_Text(CDataExchange& dx, int controlId, std::wstring& value)
{
    if (dx.Failed())
        return;
    const HWND control = dx.Control(controlId);
    if (dx.IsSaving())
        value = ReadText(control);
    else
        ::SetWindowTextW(control, value.c_str());
}

void DDX_Text(CDataExchange& dx, int controlId, int& value)
{
    if (dx.Failed())
        return;
    const HWND control = dx.Control(controlId);
    if (dx.IsSaving()) {
        int parsed = 0;
        if (ParseInteger(ReadText(control), parsed))
            value = parsed;
        else
            dx.Fail(controlId, kIntegerInputMessage);
    } else {
        ::SetWindowTextW(control, std::to_wstring(value).c_str());
    }
}

void DDX_Scroll(CDataExchange& dx, int controlId, int& position)
{
    if (dx.Failed())
        return;
    const HWND control = dx.Control(controlId);
    if (dx.IsSaving())
        position = ::GetScrollPos(control, SB_CTL);
    else
        ::SetScrollPos(control, SB_CTL, position, TRUE);
}

void DDX_Check(CDataExchange& dx, int controlId, int& state)
{
    if (dx.Failed())
        return;
    const HWND control = dx.Control(controlId);
    if (dx.IsSaving()) {
        state = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    } else {
        // A box knows only unchecked, checked and indeterminate.
        const int shown = (state >= BST_UNCHECKED && state <= BST_INDETERMINATE) ? state : BST_UNCHECKED;
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(shown), 0);
    }
}
