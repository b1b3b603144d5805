#include "common/DynamicCalls.h"

#include <gtest/gtest.h>

// Wine 8 has every function of the list, each in the DLL whose rows hold it:
// a row put in another DLL's rows would leave its caller working on without
// the function, unnoticed.
TEST(DynamicCalls, EveryFunctionIsFoundInTheDllTheListNames)
{
    ResolveImportedDllCalls();
    ResolveLoadedDllCalls();
    ResolveWinmmCalls();
#define VEXO_EXPECT_FOUND(name, type, since) EXPECT_TRUE(DynamicCalls::name != nullptr) << #name;
    VEXO_DYNAMIC_CALLS(VEXO_EXPECT_FOUND)
#undef VEXO_EXPECT_FOUND
}
