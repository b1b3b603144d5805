#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/ModuleName.h"
#include "resources/resource.h"
#include "support/PanelFixture.h"

#include <gtest/gtest.h>

namespace {

// A dialog of the framework alone, on the panel's layout: a text, a scroll
// position, two integers and a check box, plus one bound list.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_CLICKER) {}

    void DoDataExchange(CDataExchange& dx) override
    {
        ++exchanges;
        DDX_Control(dx, IDC_START_KEY, list);
        DDX_Text(dx, IDC_SPEED_TEXT, text);
        DDX_Scroll(dx, IDC_SPEED, position);
        DDX_Text(dx, IDC_RADIUS, first);
        DDX_Text(dx, IDC_TURNS, second);
        DDX_Check(dx, IDC_AUTO_ON, check);
    }

    std::string Text(int id) const
    {
        char buffer[64] = "";
        ::GetDlgItemTextA(m_hWnd, id, buffer, sizeof buffer);
        return buffer;
    }
    void SetText(int id, const char* text) const { ::SetDlgItemTextA(m_hWnd, id, text); }
    int CheckOf(int id) const { return static_cast<int>(::SendDlgItemMessageA(m_hWnd, id, BM_GETCHECK, 0, 0)); }

    int exchanges = 0;
    CComboBox list;
    std::string text = "abc";
    int position = 0;
    int first = 8;
    int second = 1;
    int check = 0;
};

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, dialog.CreateHidden());
        ::SendDlgItemMessageA(dialog.GetSafeHwnd(), IDC_SPEED, SBM_SETRANGE, 1, 100);
    }
    ExchangeDialog dialog;
};

} // namespace

TEST_F(DataExchangeTest, CreationFillsTheListsAndShowsTheMembers)
{
    EXPECT_EQ(14, dialog.list.GetCount());
    EXPECT_EQ(1, dialog.exchanges);
    EXPECT_EQ("abc", dialog.Text(IDC_SPEED_TEXT));
    EXPECT_EQ("8", dialog.Text(IDC_RADIUS));
    EXPECT_EQ("1", dialog.Text(IDC_TURNS));
    EXPECT_FALSE(::IsWindowVisible(dialog.GetSafeHwnd()));
}

TEST_F(DataExchangeTest, MembersGoOutAndComeBack)
{
    dialog.text = " 15/100";
    dialog.position = 42;
    dialog.first = -7;
    dialog.second = 2147483647;
    dialog.check = 1;
    ASSERT_TRUE(dialog.UpdateData(false));
    dialog.text.clear();
    dialog.position = dialog.first = dialog.second = dialog.check = 0;

    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(" 15/100", dialog.text);
    EXPECT_EQ(42, dialog.position);
    EXPECT_EQ(-7, dialog.first);
    EXPECT_EQ(2147483647, dialog.second);
    EXPECT_EQ(1, dialog.check);
}

TEST_F(DataExchangeTest, ControlsAreBoundOnTheFirstExchangeOnly)
{
    const HWND bound = dialog.list.GetSafeHwnd();
    EXPECT_EQ(::GetDlgItem(dialog.GetSafeHwnd(), IDC_START_KEY), bound);
    dialog.list.Attach(::GetDlgItem(dialog.GetSafeHwnd(), IDC_END_KEY));
    dialog.UpdateData(true);
    EXPECT_NE(bound, dialog.list.GetSafeHwnd());
}

TEST_F(DataExchangeTest, CheckStatesOutsideTheBoxRangeAreWrittenAsUnchecked)
{
    const struct {
        int member;
        int shown;
    } cases[] = {{0, BST_UNCHECKED}, {1, BST_CHECKED}, {3, BST_UNCHECKED}, {-1, BST_UNCHECKED}, {1000, BST_UNCHECKED}};
    for (const auto& c : cases) {
        ::SendDlgItemMessageA(dialog.GetSafeHwnd(), IDC_AUTO_ON, BM_SETCHECK, BST_CHECKED, 0);
        dialog.check = c.member;
        dialog.UpdateData(false);
        EXPECT_EQ(c.shown, dialog.CheckOf(IDC_AUTO_ON)) << c.member;
    }
    // A two-state box may show "indeterminate" as checked, but never as unchecked.
    dialog.check = 2;
    dialog.UpdateData(false);
    EXPECT_NE(BST_UNCHECKED, dialog.CheckOf(IDC_AUTO_ON));
}

TEST_F(DataExchangeTest, ANonIntegerStopsTheExchangeAndPointsAtTheEdit)
{
    dialog.SetText(IDC_SPEED_TEXT, "new");
    dialog.SetText(IDC_RADIUS, "12");
    dialog.SetText(IDC_TURNS, "x1");
    ::SendDlgItemMessageA(dialog.GetSafeHwnd(), IDC_AUTO_ON, BM_SETCHECK, BST_CHECKED, 0);
    dialog.second = 5;

    ModalCloser closer;
    EXPECT_FALSE(dialog.UpdateData(true));

    EXPECT_EQ(1, closer.shown);
    EXPECT_EQ("정수를 입력하십시오.", closer.text);
    EXPECT_EQ(ApplicationName(), closer.caption);
    // Read before the failure: kept. At and after it: untouched.
    EXPECT_EQ("new", dialog.text);
    EXPECT_EQ(12, dialog.first);
    EXPECT_EQ(5, dialog.second);
    EXPECT_EQ(0, dialog.check);
    const HWND turns = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_TURNS);
    EXPECT_EQ(turns, ::GetFocus());
    DWORD start = 99, end = 99;
    ::SendMessageA(turns, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(2u, end);
}

TEST_F(DataExchangeTest, OkClosesOnlyAfterASuccessfulExchange)
{
    dialog.SetText(IDC_RADIUS, "oops");
    {
        ModalCloser closer;
        ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
        EXPECT_EQ(1, closer.shown);
    }
    EXPECT_FALSE(dialog.HasEnded());
    EXPECT_TRUE(::IsWindow(dialog.GetSafeHwnd()));

    dialog.SetText(IDC_RADIUS, "3");
    ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(IDOK, dialog.Result());
    EXPECT_EQ(3, dialog.first);
}

TEST_F(DataExchangeTest, CancelClosesWithoutExchange)
{
    dialog.SetText(IDC_RADIUS, "3");
    ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(IDCANCEL, dialog.Result());
    EXPECT_EQ(8, dialog.first);
}

TEST(ApplicationName, IsTheFileNameWithoutDirectoryAndExtension)
{
    EXPECT_EQ("vexo", ApplicationNameFromPath("C:\\Program Files\\vexo.exe"));
    EXPECT_EQ("my.clicker", ApplicationNameFromPath("Z:/tmp/my.clicker.exe"));
    EXPECT_EQ("vexo", ApplicationNameFromPath("vexo"));
    EXPECT_EQ("vexo_unit_tests", ApplicationName());
}
