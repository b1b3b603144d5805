#include "support/Utf8.h"

#include <windows.h>

// Each UTF-8 byte makes at most one UTF-16 unit, each unit at most three bytes.
std::wstring Wide(const std::string& utf8)
{
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                          &text[0], static_cast<int>(text.size()))));
    return text;
}

std::string Utf8(const std::wstring& text)
{
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                           &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}
