#include "settings/Handover.h"

namespace {

constexpr wchar_t kSuccessorKey[] = L"successor";
// No process has this id: process ids are multiples of four.
constexpr UINT_PTR kSuccessorPending = ~static_cast<UINT_PTR>(0);
// How often a pending offer is asked again.
constexpr DWORD kPendingPollMs = 50;

CText PropertyName(const CText& appName, const wchar_t* key)
{
    return appName + L":" + key;
}

void SetProperty(HWND panel, const CText& appName, const wchar_t* key, UINT_PTR value)
{
    ::SetPropW(panel, PropertyName(appName, key).GetString(), reinterpret_cast<HANDLE>(value));
}

UINT_PTR Property(HWND panel, const CText& appName, const wchar_t* key)
{
    return reinterpret_cast<UINT_PTR>(::GetPropW(panel, PropertyName(appName, key).GetString()));
}

} // namespace

void OfferHandover(HWND panel, const CText& appName, const ClickerValues& values)
{
    // The values first: a successor reads them only once the mark is there.
    for (const SettingsField& field : kSettingsFields)
        SetProperty(panel, appName, field.key, static_cast<UINT_PTR>(static_cast<INT_PTR>(values.*field.value)));
    SetProperty(panel, appName, kSuccessorKey, kSuccessorPending);
}

void NameSuccessor(HWND panel, const CText& appName, DWORD processId)
{
    SetProperty(panel, appName, kSuccessorKey, processId);
}

void WithdrawHandover(HWND panel, const CText& appName)
{
    ::RemovePropW(panel, PropertyName(appName, kSuccessorKey).GetString());
    for (const SettingsField& field : kSettingsFields)
        ::RemovePropW(panel, PropertyName(appName, field.key).GetString());
}

HandoverState ReadHandover(HWND panel, const CText& appName, DWORD& successor, ClickerValues& values)
{
    const UINT_PTR mark = Property(panel, appName, kSuccessorKey);
    if (mark == 0)
        return HandoverState::None;
    if (mark == kSuccessorPending)
        return HandoverState::Pending;
    successor = static_cast<DWORD>(mark);
    // A value of 0 is stored as a null property, which reads back as 0.
    for (const SettingsField& field : kSettingsFields)
        values.*field.value = static_cast<int>(static_cast<INT_PTR>(Property(panel, appName, field.key)));
    return HandoverState::Named;
}

bool IsHandedTo(HWND panel, const CText& appName, DWORD processId, DWORD waitMs, ClickerValues& values)
{
    DWORD successor = 0;
    HandoverState state = ReadHandover(panel, appName, successor, values);
    for (DWORD waited = 0; state == HandoverState::Pending && waited < waitMs; waited += kPendingPollMs) {
        ::Sleep(kPendingPollMs);
        state = ReadHandover(panel, appName, successor, values);
    }
    return state == HandoverState::Named && successor == processId;
}
