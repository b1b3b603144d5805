#pragma once
#include "common/Text.h"

// Names of the saved values, one section in the application's INI file.
namespace SettingsKey {
constexpr wchar_t kSection[] = L"vexo v1.2";
constexpr wchar_t kStart[] = L"start";
constexpr wchar_t kEnd[] = L"end";
constexpr wchar_t kToggle[] = L"toggle";
constexpr wchar_t kTime[] = L"time";
constexpr wchar_t kAuto[] = L"SW_AUTO";
constexpr wchar_t kToggleOn[] = L"SW_TOGGLE";
} // namespace SettingsKey

// Defaults for a missing file, section or key.
namespace SettingsDefault {
constexpr int kStart = 1;  // F2
constexpr int kEnd = 2;    // F3
constexpr int kToggle = 3; // F4
constexpr unsigned kTime = 150;
constexpr int kAuto = 1;
constexpr int kToggleOn = 1;
} // namespace SettingsDefault

// The six values the file keeps, as a panel shows them.
struct ClickerValues {
    int start, end, toggle, time, autoOn, toggleOn;
};

// Each value's key and place, in the order the file is written.
struct SettingsField {
    const wchar_t* key;
    int ClickerValues::*value;
};
extern const SettingsField kSettingsFields[6];

// The clicker's INI file: "<application name>.INI" without a directory, so
// Windows keeps it in its own place for such files. Values are decimal
// integers; a write that fails is ignored and the next start sees the old
// or default value. The name reaches Windows as UTF-16, so any file name the
// exe can have works; the file itself stays 8-bit text of ASCII digits,
// which every release reads.
class CClickerSettings {
public:
    explicit CClickerSettings(const CText& appName);

    // Values handed over by the copy this one takes the place of: read
    // instead of the file's, which may be another file altogether (an
    // elevated copy's settings live outside the user's virtual store).
    void TakeHandedOver(const ClickerValues& values);

    // For a copy that runs as administrator under the account whose normal
    // starts keep the file. Windows keeps the file of a copy that is not
    // elevated in that account's virtual store, and once a copy is there,
    // shows that copy only: where it exists, it is read instead of the
    // Windows folder's file, and written too, so that every kind of start
    // shows what was chosen last.
    void UseVirtualStoreCopy();

    int ReadInt(const wchar_t* key, int defaultValue) const;
    // Each value under its key, in the order of kSettingsFields.
    void WriteAll(const ClickerValues& values) const;

private:
    CText m_strFileName;
    CText m_strVirtualStoreCopy; // the full path where it is used, or empty
    bool m_bHandedOver = false;
    ClickerValues m_handedOver = {};
};
