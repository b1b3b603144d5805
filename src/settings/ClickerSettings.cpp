#include "settings/ClickerSettings.h"

#include <windows.h>

#include <cstdio>

CClickerSettings::CClickerSettings(const std::string& appName)
    : m_strFileName(appName + ".INI")
{
}

int CClickerSettings::ReadInt(const char* key, int defaultValue) const
{
    // The platform parses the value as unsigned; the bits are the signed value.
    return static_cast<int>(
        ::GetPrivateProfileIntA(SettingsKey::kSection, key, defaultValue, m_strFileName.c_str()));
}

void CClickerSettings::WriteInt(const char* key, int value) const
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    ::WritePrivateProfileStringA(SettingsKey::kSection, key, text, m_strFileName.c_str());
}
