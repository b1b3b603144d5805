#include "common/ModuleName.h"

#include <windows.h>

namespace {

CText ApplicationNameFromPath(const wchar_t* path, size_t length)
{
    size_t start = length;
    while (start > 0 && path[start - 1] != L'\\' && path[start - 1] != L'/' && path[start - 1] != L':')
        --start;
    size_t end = length;
    while (end > start + 1 && path[end - 1] != L'.')
        --end;
    // A name whose only dot is its first character keeps it.
    return CText(path + start, (end > start + 1 ? end - 1 : length) - start);
}

} // namespace

CText ModulePath()
{
    // Long paths are legal, so grow the buffer until the name fits.
    CHeapArray<wchar_t> buffer(MAX_PATH);
    while (buffer.Size() > 0) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.Data(), static_cast<DWORD>(buffer.Size()));
        if (length == 0)
            return CText();
        if (length < buffer.Size())
            return CText(buffer.Data(), length);
        buffer.Reset(buffer.Size() * 2);
    }
    return CText();
}

CText ApplicationName()
{
    const CText path = ModulePath();
    return ApplicationNameFromPath(path.GetString(), path.GetLength());
}
