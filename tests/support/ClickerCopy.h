#pragma once
#include <climits>
#include <string>
#include <vector>

// Paths and names here are UTF-8 (see Utf8.h).

// The folder of the running test program, where the build put it and the
// program under test, ending in a backslash.
std::string TestProgramFolder();

// Where a program named so keeps its settings: "<name>.INI" in the Windows
// directory, where the system puts files named without a directory.
std::string IniPathOf(const std::string& name);
// One saved value of that file as the program reads it, or kMissingSetting.
constexpr int kMissingSetting = INT_MIN;
int ReadSavedSetting(const std::string& path, const wchar_t* key);

// A user account's LOCALAPPDATA of the test's own, named after the copy,
// for this process and the programs it starts while the object lives, with
// its virtual store's folder made; and where that store keeps the copy's
// settings file, as Windows keeps that of a program that is not elevated.
class UserFolder {
public:
    explicit UserFolder(const std::string& name);
    ~UserFolder();
    UserFolder(const UserFolder&) = delete;
    UserFolder& operator=(const UserFolder&) = delete;
    std::string storeCopy;
};

// The program copied under a name of its own, which is its application
// name: each copy has its own settings file, mutex and window property, so
// tests never see each other's traces. The settings file starts with the
// given raw text (so it may hold what no program writes), or absent; both
// files go with the copy.
class ClickerCopy {
public:
    // Named after the running test, plus a suffix when it needs several; or,
    // as a user may rename the exe, exactly the suffix. In the tests' shared
    // folder, or in the folder given (made if need be).
    explicit ClickerCopy(const std::string& suffix = std::string(), const char* settingsText = nullptr,
                         bool exactName = false, const std::string& folder = std::string());
    ~ClickerCopy();
    ClickerCopy(const ClickerCopy&) = delete;
    ClickerCopy& operator=(const ClickerCopy&) = delete;

    const std::string& Name() const { return m_name; }
    const std::string& ExePath() const { return m_exePath; }
    std::string Folder() const { return m_exePath.substr(0, m_exePath.find_last_of('\\') + 1); }

    const std::string& SettingsPath() const { return m_settingsPath; }
    std::string SettingsText() const;
    // start, end, toggle, time, SW_AUTO, SW_TOGGLE: the order of saving.
    std::vector<int> SavedSettings() const;

private:
    void RemoveSettings() const;

    std::string m_name;
    std::string m_exePath;
    std::string m_settingsPath;
};
