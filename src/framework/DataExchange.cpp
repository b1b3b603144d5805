#include "framework/DataExchange.h"

#include "framework/Controls.h"
#include "framework/Dialog.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <vector>

const char kIntegerInputMessage[] = "정수를 입력하십시오.";

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

void CDataExchange::Fail(int controlId, const char* message)
{
    if (m_bFailed)
        return;
    m_bFailed = true;
    m_dialog.OnExchangeFailure(controlId, message);
}

bool ParseInteger(const std::string& text, int& value)
{
    std::string::size_type i = 0;
    const std::string::size_type n = text.size();
    auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (i < n && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == n || !std::isdigit(static_cast<unsigned char>(text[i])))
        return false;
    long long magnitude = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
        magnitude = magnitude * 10 + (text[i] - '0');
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
std::string ReadText(HWND control)
{
    const int length = ::GetWindowTextLengthA(control);
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(control, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}
} // namespace

void DDX_Control(CDataExchange& dx, int controlId, CControl& control)
{
    if (dx.Failed() || control.IsBound())
        return;
    control.Attach(dx.Control(controlId));
}

void DDX_Text(CDataExchange& dx, int controlId, std::string& value)
{
    if (dx.Failed())
        return;
    const HWND control = dx.Control(controlId);
    if (dx.IsSaving())
        value = ReadText(control);
    else
        ::SetWindowTextA(control, value.c_str());
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
        char text[16];
        std::snprintf(text, sizeof text, "%d", value);
        ::SetWindowTextA(control, text);
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
        state = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        // A box knows only unchecked, checked and indeterminate.
        const int shown = (state >= BST_UNCHECKED && state <= BST_INDETERMINATE) ? state : BST_UNCHECKED;
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(shown), 0);
    }
}
