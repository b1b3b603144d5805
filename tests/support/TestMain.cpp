#include <windows.h>
#include <commctrl.h>

#include "common/DynamicCalls.h"
#include "support/ModalBoxes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    // A test that crashes must still leave the lines written before it; a
    // pipe is otherwise buffered until exit.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // scripts/test.sh names the code page a run is meant to have: a locale
    // that Wine did not take would otherwise let the text tests pass under
    // the wrong one.
    const char* expected = std::getenv("VEXO_CODE_PAGE");
    if (expected && ::GetACP() != static_cast<UINT>(std::atoi(expected))) {
        std::fprintf(stderr, "code page %u, not the %s this run is for\n", ::GetACP(), expected);
        return 1;
    }
    // As the program's entry point does, so that the code under test finds
    // the newer functions.
    ResolveImportedDllCalls();
    // The panel's up-down controls and slider need their classes registered.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    WatchForUnexpectedModalBoxes();
    return RUN_ALL_TESTS();
}
