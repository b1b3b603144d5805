#include "framework/DataExchange.h"

#include "framework/Controls.h"

#include <climits>

const wchar_t kIntegerInputMessage[] = L"정수를 입력하십시오.";

CDataExchange::CDataExchange(HWND dialog, bool saveAndValidate)
    : m_hDialog(dialog)
    , m_bSaveAndValidate(saveAndValidate)
{
}

HWND CDataExchange::Control(int controlId) const
{
    return ::GetDlgItem(m_hDialog, controlId);
}

void CDataExchange::Fail(int controlId, const wchar_t* message)
{
    if (m_bFailed)
        return;
    m_bFailed = true;
    m_nFailedControl = controlId;
    m_strFailure = message;
}

bool ParseInteger(const wchar_t* text, int& value)
{
    size_t i = 0;
    const size_t n = text ? ::lstrlenW(text) : 0;
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
    // INT_MIN's magnitude is the largest that fits.
    constexpr long long kMaxMagnitude = -static_cast<long long>(INT_MIN);
    long long magnitude = 0;
    while (i < n && isDigit(text[i])) {
        magnitude = magnitude * CText::kDecimalBase + (text[i] - L'0');
        if (magnitude > kMaxMagnitude)
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
CText ReadText(HWND control)
{
    const int length = ::GetWindowTextLengthW(control);
    CHeapArray<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1);
    const int copied = ::GetWindowTextW(control, buffer.Data(), static_cast<int>(buffer.Size()));
    return CText(buffer.Data(), static_cast<size_t>(copied > 0 ? copied : 0));
}
} // namespace

void DDX_Control(CDataExchange& dx, int controlId, CControl& control)
{
    if (dx.Failed() || control.IsBound())
        return;
    control.Attach(dx.Control(controlId));
}

void DDX_Text(CDataExchange& dx, int controlId, CText& value)
{
    if (dx.Failed())
        return;
    const HWND control = dx.Control(controlId);
    if (dx.IsSaving())
        value = ReadText(control);
    else
        ::SetWindowTextW(control, value.GetString());
}

void DDX_Text(CDataExchange& dx, int controlId, int& value)
{
    if (dx.Failed())
        return;
    const HWND control = dx.Control(controlId);
    if (dx.IsSaving()) {
        int parsed = 0;
        if (ParseInteger(ReadText(control).GetString(), parsed))
            value = parsed;
        else
            dx.Fail(controlId, kIntegerInputMessage);
    } else {
        ::SetWindowTextW(control, CText::Decimal(value).GetString());
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
