#pragma once
#include <string>

// Names of the saved values, one section in the application's INI file.
namespace SettingsKey {
constexpr char kSection[] = "vexo v1.2";
constexpr char kStart[] = "start";
constexpr char kEnd[] = "end";
constexpr char kToggle[] = "toggle";
constexpr char kTime[] = "time";
constexpr char kAuto[] = "SW_AUTO";
constexpr char kToggleOn[] = "SW_TOGGLE";
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

// The clicker's INI file: "<application name>.INI" without a directory, so
// Windows keeps it in its own place for such files. Values are decimal
// integers; a write that fails is ignored and the next start sees the old
// or default value.
class CClickerSettings {
public:
    explicit CClickerSettings(const std::string& appName);

    int ReadInt(const char* key, int defaultValue) const;
    void WriteInt(const char* key, int value) const;


private:
    std::string m_strFileName;
};
