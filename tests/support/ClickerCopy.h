#pragma once
#include <climits>
#include <string>
#include <vector>

// The program copied under a name of its own. The name is the application
// name, so each copy has its own settings file, mutex and window property
// and tests cannot see each other's traces. The settings file starts absent;
// both files go when the copy does.
class ClickerCopy {
public:
    // Named after the running test, with an optional suffix for tests that
    // need several independent copies.
    explicit ClickerCopy(const std::string& suffix = std::string());
    ~ClickerCopy();
    ClickerCopy(const ClickerCopy&) = delete;
    ClickerCopy& operator=(const ClickerCopy&) = delete;

    const std::string& Name() const { return m_name; }
    const std::string& ExePath() const { return m_exePath; }

    // The settings file: "<name>.INI" in the Windows directory, where the
    // system keeps files named without a directory.
    const std::string& SettingsPath() const { return m_settingsPath; }
    void WriteSetting(const char* key, const char* value) const;
    // Raw text, for files no program would write.
    void WriteSettingsText(const std::string& text) const;
    std::string SettingsText() const;
    static constexpr int kMissing = INT_MIN;
    int ReadSetting(const char* key) const;
    // The six saved values in the order the program writes them: start,
    // end, toggle, time, SW_AUTO, SW_TOGGLE.
    std::vector<int> SavedSettings() const;
    void SetSettingsReadOnly(bool readOnly) const;

private:
    void RemoveSettings() const;

    std::string m_name;
    std::string m_exePath;
    std::string m_settingsPath;
};

// Section of the settings file.
extern const char kSettingsSection[];
