#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Reading and driving the windows of another process, as a user's desktop
// would. Texts come back as code page 949 bytes, comparable with the narrow
// Korean literals of the tests. Sent messages are bounded: a program that
// stops answering fails the test instead of hanging it.

// Sends and waits for the answer; a timeout is a test failure and gives 0.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

std::string TextOf(HWND window);
std::string ClassOf(HWND window);
std::vector<std::string> ComboItems(HWND combo);
int ComboSelection(HWND combo);
int CheckState(HWND button);
int ScrollPosition(HWND scrollBar);

// Posted like the notification a clicked push button sends its dialog.
void PostClick(HWND dialog, int controlId);
// Posts a key press and release to the focused control of the window's
// thread, or to the window itself: without a window manager the keyboard
// focus of the desktop cannot be relied upon.
void PostKey(HWND window, UINT virtualKey);

// First top-level window of the process with this class and, unless empty,
// this caption; nullptr if there is none.
HWND FindTopLevel(DWORD processId, const char* className, const std::string& caption = std::string());

// Message boxes: the text of the box and its dismissal with its button.
std::string MessageBoxText(HWND box);
void DismissMessageBox(HWND box);
