#pragma once
#include <windows.h>

#include <functional>

// Bound for anything the program under test should do "soon". Generous on
// purpose: a slow machine must not fail a test, a hung program must.
constexpr DWORD kWaitMs = 15000;

// Polls until the condition holds or the bound passes; true if it held. The
// test thread keeps serving its own windows meanwhile, since the program may
// be waiting on them (showing or activating a test window is a sent message).
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs);

// Lets time pass while serving this thread's windows, for things nothing
// outside the program can observe (a timer tick).
void PumpFor(DWORD milliseconds);
