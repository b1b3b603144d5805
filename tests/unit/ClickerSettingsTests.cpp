#include "support/PanelFixture.h"

#include <shlobj.h>

// The settings file as the panel that owns it saves it, elevated or not.
using ClickerSettingsTest = PanelTest;

// An elevated copy saves into the Windows folder; where the user's virtual
// store holds a copy of the file, which a copy without administrator rights
// reads instead, it writes the same values there too. Not elevated, or with
// no copy in the store, it writes the one file it always wrote.
TEST_F(ClickerSettingsTest, ElevatedPanelAlsoSavesTheVirtualStoresCopyWhereThereIsOne)
{
    wchar_t temp[MAX_PATH] = L"", windows[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring appData = std::wstring(temp) + Wide(appName) + L"_appdata";
    const std::wstring folder = appData + L"\\VirtualStore" + (windows + 2);
    const std::wstring copy = folder + L"\\" + Wide(appName) + L".INI";
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", appData.c_str());
    for (const BOOL elevated : {FALSE, TRUE}) {
        ::DeleteFileW(copy.c_str());
        desktop.elevated = elevated;
        Open();
        Close();
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(copy.c_str())) << "none made, elevated " << elevated;
        ::WritePrivateProfileStringW(SettingsKey::kSection, SettingsKey::kTime, L"500", copy.c_str());
        SaveSetting(SettingsKey::kTime, L"420");
        Open();
        Close();
        EXPECT_EQ(elevated ? 420 : 500, ReadSavedSetting(Utf8(copy.c_str()), SettingsKey::kTime)) << elevated;
    }
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    ::DeleteFileW(copy.c_str());
}
