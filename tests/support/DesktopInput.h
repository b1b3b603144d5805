#pragma once
#include <windows.h>

#include <functional>
#include <vector>

// Input as the user's hands give it, and what reaches the desktop from any
// process. Everything here is global: tests using it must run one at a time.

// Presses and releases a key (VK_F2 ...) or the right mouse button where the
// cursor is; whoever polls the key state sees the press.
void Tap(WORD virtualKey);

// Reads away presses that no program polled; the desktop would otherwise
// report them to the next program, even in a later test.
void ForgetPastPresses();

// Left-button presses and releases of every process, in the order the desktop
// delivered them, recorded by a low-level hook while the recorder lives. The
// hook runs on the test thread, so it must be serving messages (WaitUntil,
// PumpFor); the sending program waits for it meanwhile.
struct ButtonEvent {
    bool down;
    POINT at;
    double seconds; // high-resolution clock, only for measuring
};
class ButtonRecorder {
public:
    ButtonRecorder();
    ~ButtonRecorder();
    std::vector<ButtonEvent> events;

private:
    HHOOK m_hook;
};

// A top-level window of the test under the cursor, counting the left-button
// presses that reach it.
class ClickTarget {
public:
    ClickTarget();
    ~ClickTarget() { ::DestroyWindow(m_window); }
    int clicks = 0;

private:
    HWND m_window;
};

// Waits until the count stops growing over a quiet spell longer than any
// period in play; false if it still grows at the bound.
bool WaitUntilSettled(const std::function<size_t()>& count);

double Seconds();
