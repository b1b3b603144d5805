#include "framework/ModuleName.h"

#include <windows.h>

#include <vector>

namespace {

std::string ApplicationNameFromPath(const std::string& path)
{
    const std::string::size_type slash = path.find_last_of("\\/:");
    std::string name = (slash == std::string::npos) ? path : path.substr(slash + 1);
    const std::string::size_type dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

} // namespace

std::string ApplicationName()
{
    // Long paths are legal, so grow the buffer until the name fits.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            return ApplicationNameFromPath(std::string(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}
