#include "support/PanelFixture.h"

void PanelTest::SetUp()
{
    appName = std::string("vexo_unit_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ::DeleteFileW(Wide(IniPathOf(appName)).c_str());
}

void PanelTest::TearDown()
{
    panel.reset();
    ::DeleteFileW(Wide(IniPathOf(appName)).c_str());
}

void PanelTest::Open(const Takeover* takeover)
{
    panel.reset(new CClickerDlg(desktop, Wide(appName).c_str(), takeover));
    ASSERT_NE(nullptr, panel->CreateHidden());
}
