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
    // The platform parses the value as unsigned; the bits are the signed value.
    return static_cast<int>(
        ::GetPrivateProfileIntW(SettingsKey::kSection, key, defaultValue, m_strFileName.GetString()));
}

void CClickerSettings::WriteAll(const ClickerValues& values) const
{
    // A file that does not start as UTF-16 is written as 8-bit text, so the
    // digits land as the same bytes as ever.
    for (const SettingsField& field : kSettingsFields)
        ::WritePrivateProfileStringW(SettingsKey::kSection, field.key, CText::Decimal(values.*field.value).GetString(),
                                     m_strFileName.GetString());
}
