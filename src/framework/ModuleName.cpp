#include "framework/ModuleName.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring ApplicationNameFromPath(const std::wstring& path)
{
    const std::wstring::size_type slash = path.find_last_of(L"\\/:");
    std::wstring name = (slash == std::wstring::npos) ? path : path.substr(slash + 1);
    const std::wstring::size_type dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}

} // namespace

std::wstring ApplicationName()
{
    // Long paths are legal, so grow the buffer until the name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::wstring();
        if (length < buffer.size())
            return ApplicationNameFromPath(std::wstring(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}
