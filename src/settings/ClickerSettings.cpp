#include "settings/ClickerSettings.h"

#include <windows.h>

CClickerSettings::CClickerSettings(const CText& appName)
    : m_strFileName(appName + L".INI")
{
}

int CClickerSettings::ReadInt(const wchar_t* key, int defaultValue) const
{
    // The platform parses the value as unsigned; the bits are the signed value.
    return static_cast<int>(
        ::GetPrivateProfileIntW(SettingsKey::kSection, key, defaultValue, m_strFileName.GetString()));
}

void CClickerSettings::WriteInt(const wchar_t* key, int value) const
{
    // A file that does not start as UTF-16 is written as 8-bit text, so the
    // digits land as the same bytes as ever.
    ::WritePrivateProfileStringW(SettingsKey::kSection, key, CText::Decimal(value).GetString(),
                                 m_strFileName.GetString());
}
