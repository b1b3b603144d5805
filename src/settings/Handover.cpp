#include "settings/Handover.h"

namespace {

constexpr wchar_t kSuccessorKey[] = L"successor";
constexpr wchar_t kRadiusKey[] = L"radius";
constexpr wchar_t kTurnsKey[] = L"turns";
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

// Signed values travel as the bits of a pointer-sized property.
void SetValue(HWND panel, const CText& appName, const wchar_t* key, int value)
{
    SetProperty(panel, appName, key, static_cast<UINT_PTR>(static_cast<INT_PTR>(value)));
}

// A value of 0 is stored as a null property, which reads back as 0.
int Value(HWND panel, const CText& appName, const wchar_t* key)
{
    return static_cast<int>(static_cast<INT_PTR>(Property(panel, appName, key)));
}

// The values a panel shows that the settings file does not keep.
const wchar_t* const kShownKeys[] = {kRadiusKey, kTurnsKey};

} // namespace

void OfferHandover(HWND panel, const CText& appName, const HandedOverValues& values)
{
    // The values first: a successor reads them only once the mark is there.
    for (const SettingsField& field : kSettingsFields)
        SetValue(panel, appName, field.key, values.saved.*field.value);
    SetValue(panel, appName, kRadiusKey, values.radius);
    SetValue(panel, appName, kTurnsKey, values.turns);
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
    for (const wchar_t* key : kShownKeys)
        ::RemovePropW(panel, PropertyName(appName, key).GetString());
}

HandoverState ReadHandover(HWND panel, const CText& appName, DWORD& successor, HandedOverValues& values)
{
    const UINT_PTR mark = Property(panel, appName, kSuccessorKey);
    if (mark == 0)
        return HandoverState::None;
    if (mark == kSuccessorPending)
        return HandoverState::Pending;
    successor = static_cast<DWORD>(mark);
    for (const SettingsField& field : kSettingsFields)
        values.saved.*field.value = Value(panel, appName, field.key);
    values.radius = Value(panel, appName, kRadiusKey);
    values.turns = Value(panel, appName, kTurnsKey);
    return HandoverState::Named;
}

bool IsHandedTo(HWND panel, const CText& appName, DWORD processId, DWORD waitMs, HandedOverValues& values)
{
    DWORD successor = 0;
    HandoverState state = ReadHandover(panel, appName, successor, values);
    for (DWORD waited = 0; state == HandoverState::Pending && waited < waitMs; waited += kPendingPollMs) {
        ::Sleep(kPendingPollMs);
        state = ReadHandover(panel, appName, successor, values);
    }
    return state == HandoverState::Named && successor == processId;
}
