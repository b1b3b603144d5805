#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/Utf8.h"

// What the program shows and writes, in UTF-8 as the tests compare it; each
// text once, for every test that expects it.

// The settings file's section line, with which every settings text of the
// tests begins. A macro, so that the texts join it as literals.
#define SETTINGS_SECTION "[vexo v1.2]\r\n"

namespace Texts {

// The panel's caption and title.
constexpr char kPanelCaption[] = "다르몬 미렌 버전";
constexpr char kAboutCaption[] = "다르몬 정보";
// A second copy's message boxes, in the order it shows them.
constexpr const char* kSecondCopyMessages[] = {"이미 있어.mutex", "이미 존재하는것 같습니다."};
// The message for an edit that must hold an integer and does not.
constexpr char kIntegerInputMessage[] = "정수를 입력하십시오.";
// The system menu's item of a clicker that is not elevated, and the
// notification that names a window Windows passes none of its input.
constexpr char kRestartElevatedItem[] = "관리자 권한으로 다시 시작(&R)";
constexpr char kBlockedNoticeTitle[] = "관리자 권한 창에는 클릭이 전달되지 않습니다";
inline std::string BlockedNotice(const std::string& caption)
{
    return "'" + caption + "' 창은 관리자 권한으로 실행 중이라, Windows가 이 창에는 자동 클릭을 전달하지 않으며, 이 창이 "
                           "앞에 있는 동안에는 시작·종료·토글 키를 눌러도 반응하지 않습니다. 이 알림을 누르면 지금 설정 "
                           "그대로 관리자 권한으로 다시 시작합니다.";
}
// The box of a restart as administrator that failed, with the system's
// text for the error and its code.
inline std::string RestartFailed(DWORD error)
{
    wchar_t reason[512] = L"";
    ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                     ARRAYSIZE(reason), nullptr);
    std::string shown = Utf8(reason);
    shown.erase(shown.find_last_not_of("\r\n ") + 1);
    return "관리자 권한으로 다시 시작하지 못했습니다.\n\n" + shown + " (오류 코드 " + std::to_string(error) +
           ")\n\n프로그램은 관리자 권한 없이 지금 그대로 계속 실행됩니다.";
}
// The entries of each of the three key lists.
inline const std::vector<std::string> kKeyEntries = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10",
                                                     "F11", "F12", "마우스 LEFT BUTTON", "마우스 RIGHT BUTTON"};

} // namespace Texts
