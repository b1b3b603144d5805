#pragma once
#include <windows.h>

#include "common/Text.h"
#include "settings/ClickerSettings.h"

// A running copy hands its place to a copy of itself that it has started as
// administrator: the keys, the period, the boxes, the radius and the turns travel as properties of
// its panel window, named "<application name>:<settings key>", beside a mark
// that names the successor's process. Any copy can read another's window
// properties, while Windows would filter most messages from a copy at
// medium level to one at high; the only message, "taken", goes from the
// successor down to the running copy, which Windows lets through. A ':'
// never occurs in a file name, so no program name clashes with these.

// What a panel hands over: the six values the settings file keeps, and the
// radius and turns it shows, which no file keeps.
struct HandedOverValues {
    ClickerValues saved;
    int radius;
    int turns;
};

// What the successor knows once it has taken the place of a running copy.
struct Takeover {
    HandedOverValues values;
    // That copy ran as another user account: its settings file in the
    // virtual store is that account's, which this copy must not write.
    bool fromAnotherUser;
};

// Posted by the successor once it has the values; the running copy then ends.
constexpr wchar_t kHandoverTakenMessage[] = L"vexo handover taken";

// Offered before the successor is started; its process is named once known.
void OfferHandover(HWND panel, const CText& appName, const HandedOverValues& values);
void NameSuccessor(HWND panel, const CText& appName, DWORD processId);
// Takes every property away again: refused, timed out, or the panel closing.
void WithdrawHandover(HWND panel, const CText& appName);

enum class HandoverState {
    None,    // no handover offered
    Pending, // offered, the successor not yet named
    Named,   // offered to that process, with these values
};
HandoverState ReadHandover(HWND panel, const CText& appName, DWORD& successor, HandedOverValues& values);

// True, with the values, when the panel offers the handover to that process.
// The running copy names its successor once Windows has started it, which
// may be after the successor asks: a pending offer is asked again, polling,
// for up to the time given.
bool IsHandedTo(HWND panel, const CText& appName, DWORD processId, DWORD waitMs, HandedOverValues& values);
