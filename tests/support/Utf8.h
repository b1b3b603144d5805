#pragma once
#include <string>

// The tests hold their texts as UTF-8, as the sources are written, and hand
// them to Windows as UTF-16: no text passes through the system's code page,
// so the same test means the same under every code page it runs with.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& text);
