#include "support/ClickerCopy.h"

#include <windows.h>

#include "settings/ClickerSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

std::string DirectoryOf(const char* path)
{
    const std::string text(path);
    return text.substr(0, text.find_last_of('\\') + 1);
}

// Drops this process's cached copy of a settings file.
void ForgetCached(const std::string& path)
{
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

} // namespace

std::string IniPathOf(const std::string& name)
{
    char directory[MAX_PATH] = "";
    ::GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + name + ".INI";
}

int ReadSavedSetting(const std::string& path, const char* key)
{
    ForgetCached(path);
    return static_cast<int>(::GetPrivateProfileIntA(SettingsKey::kSection, key, kMissingSetting, path.c_str()));
}

ClickerCopy::ClickerCopy(const std::string& suffix, const char* settingsText)
{
    // Outside a running test (the benchmark) the suffix alone names the copy.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    m_name = std::string("vexo_e2e_") + (test ? std::string(test->test_suite_name()) + "_" + test->name() : "run") +
             (suffix.empty() ? "" : "_") + suffix;
    // Parameterised tests name themselves with slashes.
    std::replace(m_name.begin(), m_name.end(), '/', '_');
    char path[MAX_PATH] = "";
    ::GetTempPathA(sizeof path, path);
    const std::string directory = std::string(path) + "vexo_e2e\\";
    ::CreateDirectoryA(directory.c_str(), nullptr);
    m_exePath = directory + m_name + ".exe";
    m_settingsPath = IniPathOf(m_name);

    // The program under test lies next to the test program.
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string program = DirectoryOf(path) + "vexo.exe";
    if (!::CopyFileA(program.c_str(), m_exePath.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << program << " to " << m_exePath;
    RemoveSettings();
    if (settingsText)
        std::ofstream(m_settingsPath, std::ios::binary) << settingsText;
}

ClickerCopy::~ClickerCopy()
{
    RemoveSettings();
    ::DeleteFileA(m_exePath.c_str());
}

void ClickerCopy::RemoveSettings() const
{
    ::SetFileAttributesA(m_settingsPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(m_settingsPath.c_str());
    ForgetCached(m_settingsPath);
}

std::string ClickerCopy::SettingsText() const
{
    std::ostringstream text;
    text << std::ifstream(m_settingsPath, std::ios::binary).rdbuf();
    return text.str();
}

std::vector<int> ClickerCopy::SavedSettings() const
{
    std::vector<int> values;
    for (const char* key : {SettingsKey::kStart, SettingsKey::kEnd, SettingsKey::kToggle, SettingsKey::kTime,
                             SettingsKey::kAuto, SettingsKey::kToggleOn})
        values.push_back(ReadSetting(key));
    return values;
}
