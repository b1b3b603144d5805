#include "common/ResourceBytes.h"

ResourceBytes FindResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    ResourceBytes bytes;
    const HRSRC resource = ::FindResourceW(module, name, type);
    const HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    bytes.data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    bytes.size = bytes.data ? ::SizeofResource(module, resource) : 0;
    return bytes;
}
