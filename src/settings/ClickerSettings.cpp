#include "settings/ClickerSettings.h"

#include <windows.h>

#include <cwchar>

const SettingsField kSettingsFields[6] = {
    {SettingsKey::kStart, &ClickerValues::start},   {SettingsKey::kEnd, &ClickerValues::end},
    {SettingsKey::kToggle, &ClickerValues::toggle}, {SettingsKey::kTime, &ClickerValues::time},
    {SettingsKey::kAuto, &ClickerValues::autoOn},   {SettingsKey::kToggleOn, &ClickerValues::toggleOn},
};

CClickerSettings::CClickerSettings(const CText& appName)
    : m_strFileName(appName + L".INI")
{
}

void CClickerSettings::TakeHandedOver(const ClickerValues& values)
{
    m_bHandedOver = true;
    m_handedOver = values;
}

int CClickerSettings::ReadInt(const wchar_t* key, int defaultValue) const
{
    if (m_bHandedOver)
        for (const SettingsField& field : kSettingsFields)
            if (std::wcscmp(field.key, key) == 0)
                return m_handedOver.*field.value;
    const CText& file = m_strVirtualStoreCopy.GetLength() > 0 ? m_strVirtualStoreCopy : m_strFileName;
    // The platform parses the value as unsigned; the bits are the signed value.
    return static_cast<int>(::GetPrivateProfileIntW(SettingsKey::kSection, key, defaultValue, file.GetString()));
}

namespace {

// Where Windows keeps the file of a program that is not elevated when it
// would be in the Windows folder: that folder's path, drive left out, under
// "%LOCALAPPDATA%\VirtualStore". Empty where either path cannot be had, or
// the whole is too long.
CText VirtualStorePathOf(const CText& fileName)
{
    wchar_t store[MAX_PATH] = L"";
    wchar_t windows[MAX_PATH] = L"";
    const DWORD storeLength = ::GetEnvironmentVariableW(L"LOCALAPPDATA", store, MAX_PATH);
    const UINT windowsLength = ::GetWindowsDirectoryW(windows, MAX_PATH);
    constexpr size_t kDriveLength = 2; // "C:"
    if (storeLength == 0 || storeLength >= MAX_PATH || windowsLength <= kDriveLength || windowsLength >= MAX_PATH ||
        windows[1] != L':')
        return CText();
    const CText path = CText(store, storeLength) + L"\\VirtualStore" +
                       CText(windows + kDriveLength, windowsLength - kDriveLength) + L"\\" + fileName;
    // The settings functions take no longer path.
    return path.GetLength() < MAX_PATH ? path : CText();
}

void WriteValues(const ClickerValues& values, const CText& path)
{
    // A file that does not start as UTF-16 is written as 8-bit text, so the
    // digits land as the same bytes as ever.
    for (const SettingsField& field : kSettingsFields)
        ::WritePrivateProfileStringW(SettingsKey::kSection, field.key, CText::Decimal(values.*field.value).GetString(),
                                     path.GetString());
}

} // namespace

void CClickerSettings::UseVirtualStoreCopy()
{
    // Only a copy that is there already: none is made in a store the user
    // never used.
    const CText copy = VirtualStorePathOf(m_strFileName);
    const DWORD attributes = copy.GetLength() > 0 ? ::GetFileAttributesW(copy.GetString()) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        m_strVirtualStoreCopy = copy;
}

void CClickerSettings::WriteAll(const ClickerValues& values) const
{
    WriteValues(values, m_strFileName);
    if (m_strVirtualStoreCopy.GetLength() > 0)
        WriteValues(values, m_strVirtualStoreCopy);
}
