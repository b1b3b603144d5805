#include "framework/DataExchange.h"
#include "support/PanelFixture.h"

namespace {

// A dialog of the framework alone on the panel's layout: a text, two
// integers and a check box, exchanged in that order.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_CLICKER) {}
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Text(dx, IDC_SPEED_TEXT, text);
        DDX_Text(dx, IDC_RADIUS, first);
        DDX_Text(dx, IDC_TURNS, second);
        DDX_Check(dx, IDC_AUTO_ON, check);
    }
    HWND Item(int id) const { return GetDlgItem(id); }
    void Put(int id, const wchar_t* text) const { ::SetWindowTextW(Item(id), text); }

    CText text = L"abc";
    int first = 8, second = 1, check = 0;
};

} // namespace

// What each kind of exchange reads and shows is seen through the panel's
// controls; here, what a failure in the middle of one leaves.
TEST(DataExchange, ANonIntegerStopsTheExchangeTellsTheUserAndSelectsTheEdit)
{
    ExchangeDialog dialog;
    ASSERT_NE(nullptr, dialog.CreateHidden());
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
