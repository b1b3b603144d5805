#include "support/ClickerCopy.h"

#include <windows.h>
#include <shlobj.h>

#include "settings/ClickerSettings.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// Drops this process's cached copy of a settings file.
void ForgetCached(const std::string& path)
{
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(path).c_str());
}

} // namespace

std::string TestProgramFolder()
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self = path;
    return Utf8(self.substr(0, self.find_last_of(L'\\') + 1));
}

std::string IniPathOf(const std::string& name)
{
    wchar_t directory[MAX_PATH] = L"";
    ::GetWindowsDirectoryW(directory, MAX_PATH);
    return Utf8(directory) + "\\" + name + ".INI";
}

int ReadSavedSetting(const std::string& path, const wchar_t* key)
{
    ForgetCached(path);
    return static_cast<int>(::GetPrivateProfileIntW(SettingsKey::kSection, key, kMissingSetting, Wide(path).c_str()));
}

UserFolder::UserFolder(const std::string& name)
{
    wchar_t temp[MAX_PATH] = L"", windows[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::string folder = Utf8(temp) + name + "_user", store = folder + "\\VirtualStore" + Utf8(windows + 2);
    ::SHCreateDirectoryExW(nullptr, Wide(store).c_str(), nullptr);
    storeCopy = store + "\\" + name + ".INI";
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", Wide(folder).c_str());
}

UserFolder::~UserFolder()
{
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    ::DeleteFileW(Wide(storeCopy).c_str());
}

ClickerCopy::ClickerCopy(const std::string& suffix, const char* settingsText, bool exactName,
                         const std::string& folder)
{
    // Outside a running test (the benchmark) the suffix alone names the copy.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    m_name = exactName ? suffix
                       : std::string("vexo_e2e_") + (test ? std::string(test->test_suite_name()) + "_" + test->name() : "run") +
                             (suffix.empty() ? "" : "_") + suffix;
    // Parameterised tests name themselves with slashes.
    std::replace(m_name.begin(), m_name.end(), '/', '_');
    wchar_t path[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, path);
    const std::string directory = folder.empty() ? Utf8(path) + "vexo_e2e\\" : folder;
    ::CreateDirectoryW(Wide(directory).c_str(), nullptr);
    m_exePath = directory + m_name + ".exe";
    m_settingsPath = IniPathOf(m_name);

    const std::string program = TestProgramFolder() + "vexo.exe";
    if (!::CopyFileW(Wide(program).c_str(), Wide(m_exePath).c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << program << " to " << m_exePath;
    RemoveSettings();
    if (settingsText)
        std::ofstream(Wide(m_settingsPath).c_str(), std::ios::binary) << settingsText;
}

ClickerCopy::~ClickerCopy()
{
    RemoveSettings();
    ::DeleteFileW(Wide(m_exePath).c_str());
}

void ClickerCopy::RemoveSettings() const
{
    const std::wstring path = Wide(m_settingsPath);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
    ForgetCached(m_settingsPath);
}

std::string ClickerCopy::SettingsText() const
{
    std::ostringstream text;
    text << std::ifstream(Wide(m_settingsPath).c_str(), std::ios::binary).rdbuf();
    return text.str();
}

std::vector<int> ClickerCopy::SavedSettings() const
{
    std::vector<int> values;
    for (const wchar_t* key : {SettingsKey::kStart, SettingsKey::kEnd, SettingsKey::kToggle, SettingsKey::kTime,
                                SettingsKey::kAuto, SettingsKey::kToggleOn})
        values.push_back(ReadSavedSetting(m_settingsPath, key));
    return values;
}
