#include "support/ClickerCopy.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

const char kSettingsSection[] = "vexo v1.2";

namespace {

// The program under test lies next to the test program.
std::string BuiltProgramPath()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string directory(path);
    directory.erase(directory.find_last_of('\\') + 1);
    return directory + "vexo.exe";
}

std::string CopyDirectory()
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    const std::string directory = std::string(temp) + "vexo_e2e\\";
    ::CreateDirectoryA(directory.c_str(), nullptr);
    return directory;
}

std::string CurrentTestName()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? std::string(test->test_suite_name()) + "_" + test->name() : std::string("outside_a_test");
}

} // namespace

ClickerCopy::ClickerCopy(const std::string& suffix)
    : m_name("vexo_e2e_" + CurrentTestName() + (suffix.empty() ? "" : "_" + suffix))
{
    m_exePath = CopyDirectory() + m_name + ".exe";
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    m_settingsPath = std::string(windows) + "\\" + m_name + ".INI";
    if (!::CopyFileA(BuiltProgramPath().c_str(), m_exePath.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << BuiltProgramPath() << " to " << m_exePath;
    RemoveSettings();
}

ClickerCopy::~ClickerCopy()
{
    RemoveSettings();
    ::DeleteFileA(m_exePath.c_str());
}

void ClickerCopy::RemoveSettings() const
{
    SetSettingsReadOnly(false);
    ::DeleteFileA(m_settingsPath.c_str());
    // Drops this process's cached copy of the file.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_settingsPath.c_str());
}

void ClickerCopy::WriteSetting(const char* key, const char* value) const
{
    ::WritePrivateProfileStringA(kSettingsSection, key, value, m_settingsPath.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_settingsPath.c_str());
}

void ClickerCopy::WriteSettingsText(const std::string& text) const
{
    RemoveSettings();
    std::ofstream(m_settingsPath, std::ios::binary) << text;
}

std::string ClickerCopy::SettingsText() const
{
    std::ostringstream text;
    text << std::ifstream(m_settingsPath, std::ios::binary).rdbuf();
    return text.str();
}

int ClickerCopy::ReadSetting(const char* key) const
{
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_settingsPath.c_str());
    return static_cast<int>(::GetPrivateProfileIntA(kSettingsSection, key, kMissing, m_settingsPath.c_str()));
}

std::vector<int> ClickerCopy::SavedSettings() const
{
    std::vector<int> values;
    for (const char* key : {"start", "end", "toggle", "time", "SW_AUTO", "SW_TOGGLE"})
        values.push_back(ReadSetting(key));
    return values;
}

void ClickerCopy::SetSettingsReadOnly(bool readOnly) const
{
    ::SetFileAttributesA(m_settingsPath.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}
