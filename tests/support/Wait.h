#pragma once
#include <windows.h>

#include <functional>

// Bound for anything the program under test should do "soon": generous, so
// that a slow machine passes and a hung program fails.
constexpr DWORD kWaitMs = 15000;

// Polls until the condition holds (true) or the bound passes (false). The
// test thread serves its own windows meanwhile: the program may be waiting
// on them, since showing or activating another thread's window is a send.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs);

// Lets time pass for what nothing outside the program shows (a timer tick).
inline void PumpFor(DWORD milliseconds)
{
    WaitUntil([] { return false; }, milliseconds);
}
