#include "common/DynamicCalls.h"

#include "common/SystemLibrary.h"

#define VEXO_DEFINE_CALL(name, type, since) name##Function name = nullptr;
#define VEXO_FIND_CALL(name, type, since) \
    DynamicCalls::name = FindFunction<DynamicCalls::name##Function>(module, #name);

namespace DynamicCalls {
VEXO_DYNAMIC_CALLS(VEXO_DEFINE_CALL)
} // namespace DynamicCalls

void ResolveImportedDllCalls()
{
    HMODULE module = ::GetModuleHandleW(L"kernel32.dll");
    VEXO_KERNEL32_CALLS(VEXO_FIND_CALL)
    module = ::GetModuleHandleW(L"user32.dll");
    VEXO_USER32_CALLS(VEXO_FIND_CALL)
}

void ResolveLoadedDllCalls()
{
    const HMODULE module = ::LoadLibraryW(L"comctl32.dll");
    VEXO_COMCTL32_CALLS(VEXO_FIND_CALL)
}

void ResolveWinmmCalls()
{
    static bool resolved = false;
    if (resolved)
        return;
    resolved = true;
    const HMODULE module = LoadSystemLibrary(L"winmm.dll");
    VEXO_WINMM_CALLS(VEXO_FIND_CALL)
}
