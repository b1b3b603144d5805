#include "panel/AboutDlg.h"
#include "resources/resource.h"
#include "support/IconMeasures.h"

#include <gtest/gtest.h>

// Moved to a screen of another scale, the About box shows the icon at that
// scale's size. The panel's art is checked end to end.
TEST(AboutDlg, IconFollowsTheBoxsScale)
{
    CAboutDlg about;
    const HWND box = about.CreateHidden();
    ASSERT_TRUE(box);
    RECT suggested = {0, 0, 700, 200};
    ::SendMessageW(box, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    const LRESULT icon = ::SendDlgItemMessageW(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0);
    EXPECT_TRUE(MetricsAt(SM_CXICON, SM_CYICON, 192) == IconSizeOf(reinterpret_cast<HICON>(icon)));
}
