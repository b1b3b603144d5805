#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Reading and driving another process's windows as a user's desktop would.
// Texts are read as UTF-16 and given as UTF-8, comparable with the tests'
// literals under any code page. Sends are bounded: a program that stops answering fails the test
// (and gives 0) instead of hanging it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

std::string TextOf(HWND window);
std::string ClassOf(HWND window);
std::vector<std::string> ComboItems(HWND combo);
inline int ComboSelection(HWND combo) { return static_cast<int>(Ask(combo, CB_GETCURSEL)); }
inline int CheckState(HWND button) { return static_cast<int>(Ask(button, BM_GETCHECK)); }
inline int ScrollPosition(HWND scrollBar) { return static_cast<int>(Ask(scrollBar, SBM_GETPOS)); }

// The notification a clicked push button sends its dialog.
void PostClick(HWND dialog, int controlId);
// A key press and release for the focused control of the window's thread
// (or the window): without a window manager the desktop's keyboard focus
// cannot be relied upon.
void PostKey(HWND window, UINT virtualKey);

// First top-level window of the process (or of any) that matches, or nullptr.
constexpr DWORD kAnyProcess = 0;
HWND FindTopLevel(DWORD processId, const std::function<bool(HWND)>& match);
// Dialogs and message boxes, by caption (any caption when empty).
HWND FindDialog(DWORD processId, const std::string& caption = std::string());

inline std::string MessageBoxText(HWND box) { return TextOf(::GetDlgItem(box, 0xFFFF)); }
inline void DismissMessageBox(HWND box) { PostClick(box, IDOK); }
