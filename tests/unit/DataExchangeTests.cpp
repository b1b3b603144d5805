#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "support/PanelFixture.h"

namespace {

// A dialog of the framework alone on the panel's layout: a text, a scroll
// position, two integers, a check box and one bound list.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_CLICKER) {}
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Control(dx, IDC_START_KEY, list);
        DDX_Text(dx, IDC_SPEED_TEXT, text);
        DDX_Scroll(dx, IDC_SPEED, position);
        DDX_Text(dx, IDC_RADIUS, first);
        DDX_Text(dx, IDC_TURNS, second);
        DDX_Check(dx, IDC_AUTO_ON, check);
    }
    HWND Item(int id) const { return GetDlgItem(id); }
    void Put(int id, const wchar_t* text) const { ::SetWindowTextW(Item(id), text); }

    CComboBox list;
    CText text = L"abc";
    int position = 0, first = 8, second = 1, check = 0;
};

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, dialog.CreateHidden());
        ::SendMessageW(dialog.Item(IDC_SPEED), SBM_SETRANGE, 1, 100);
    }
    ExchangeDialog dialog;
};

} // namespace

TEST_F(DataExchangeTest, CreationBindsControlsOnceAndValuesMakeTheRoundTrip)
{
    EXPECT_EQ(dialog.Item(IDC_START_KEY), dialog.list.GetSafeHwnd());
    EXPECT_FALSE(::IsWindowVisible(dialog.GetSafeHwnd()));

    dialog.text = L" 15/100", dialog.position = 42, dialog.first = INT_MIN, dialog.second = INT_MAX, dialog.check = 1;
    ASSERT_TRUE(dialog.UpdateData(false));
    dialog.text = CText(), dialog.position = dialog.first = dialog.second = dialog.check = 0;
    dialog.list.Attach(dialog.Item(IDC_END_KEY)); // bound already: later exchanges leave it
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_STREQ(L" 15/100", dialog.text.GetString());
    EXPECT_EQ(42, dialog.position);
    EXPECT_EQ(INT_MIN, dialog.first);
    EXPECT_EQ(INT_MAX, dialog.second);
    EXPECT_EQ(1, dialog.check);
    EXPECT_EQ(dialog.Item(IDC_END_KEY), dialog.list.GetSafeHwnd());
}

TEST_F(DataExchangeTest, ANonIntegerStopsTheExchangeTellsTheUserAndSelectsTheEdit)
{
    dialog.Put(IDC_SPEED_TEXT, L"new"), dialog.Put(IDC_RADIUS, L"12"), dialog.Put(IDC_TURNS, L"x1");
    ::SendMessageW(dialog.Item(IDC_AUTO_ON), BM_SETCHECK, BST_CHECKED, 0);
    ModalCloser closer;
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(1, closer.shown);
    EXPECT_EQ("vexo_unit_tests", closer.caption); // the exe's name
    // Read before the failure: kept. At and after it: untouched.
    EXPECT_STREQ(L"new", dialog.text.GetString());
    EXPECT_EQ(12, dialog.first);
    EXPECT_EQ(1, dialog.second);
    EXPECT_EQ(0, dialog.check);
    EXPECT_EQ(dialog.Item(IDC_TURNS), ::GetFocus());
    DWORD start = 9, end = 9;
    ::SendMessageW(dialog.Item(IDC_TURNS), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(2u, end);
}

TEST(DataExchange, ParseIntegerTakesWholeSignedDecimalsOnly)
{
    int value = 5;
    // Full-width and other non-ASCII digits are not decimals here.
    for (const wchar_t* bad : {L"", L" ", L"abc", L"8x", L"1 2", L"-", L"2147483648", L"-2147483649",
                               L"99999999999999999999", L"１２", L"٣"})
        EXPECT_FALSE(ParseInteger(bad, value)) << bad;
    EXPECT_EQ(5, value);
    EXPECT_TRUE(ParseInteger(L" -2147483648 ", value) && value == INT_MIN);
    EXPECT_TRUE(ParseInteger(L"+2147483647", value) && value == INT_MAX);
}
