#include "support/PanelFixture.h"

// A panel and the settings file it reads and writes.
using ClickerSettingsTest = PanelTest;

// Which file each kind of start reads and writes. Not elevated, the name
// alone, which Windows keeps in the account's virtual store (Wine keeps it
// where it is). Elevated, as the account whose normal starts keep a copy in
// its store: that copy where there is one, read instead of the Windows
// folder's file, which Windows no longer shows those starts, and written
// with it. After a restart, the values handed over; after one into another
// account, the old copy's store is not this account's: not written.
TEST_F(ClickerSettingsTest, EachKindOfStartShowsAndSavesWhatItsUserChoseLast)
{
    const struct {
        const char* name;
        BOOL elevated;
        bool takeover, anotherUser, storeCopy;
        int shown, windowsTime, storeTime;
    } cases[] = {{"normal", FALSE, false, false, true, 42, 430, 500},
                 {"administrator, no store copy", TRUE, false, false, false, 42, 430, kMissingSetting},
                 {"administrator", TRUE, false, false, true, 50, 510, 510},
                 {"restart", TRUE, true, false, true, 30, 310, 310},
                 {"restart into another account", TRUE, true, true, true, 30, 310, 500}};
    const UserFolder user(appName); // an account with a virtual store of its own
    for (const auto& c : cases) {
        ::DeleteFileW(Wide(user.storeCopy).c_str());
        SaveSetting(SettingsKey::kTime, L"420");
        if (c.storeCopy)
            ::WritePrivateProfileStringW(SettingsKey::kSection, SettingsKey::kTime, L"500", Wide(user.storeCopy).c_str());
        desktop.elevated = c.elevated;
        const Takeover takeover = {{{1, 2, 3, 300, 1, 1}, kDefaultRadius, kDefaultTurns}, c.anotherUser};
        Open(c.takeover ? &takeover : nullptr);
        EXPECT_EQ(c.shown, SpeedPosition()) << c.name;
        Scroll(SB_LINERIGHT);
        Tick();
        Close();
        EXPECT_EQ(c.windowsTime, SavedSetting(SettingsKey::kTime)) << c.name;
        EXPECT_EQ(c.storeTime, ReadSavedSetting(user.storeCopy, SettingsKey::kTime)) << c.name;
    }
}

// Values handed over reach the panel within its ranges, whatever a copy
// of another release put on its window.
TEST_F(ClickerSettingsTest, ValuesHandedOverAreHeldWithinThePanelsRanges)
{
    const Takeover takeover = {{{-7, 14, 3, 5, 1, 1}, 0, 11}, false};
    Open(&takeover);
    EXPECT_EQ((std::vector<std::string>{"1", "10"}), (std::vector<std::string>{Text(IDC_RADIUS), Text(IDC_TURNS)}));
    EXPECT_EQ((std::vector<LRESULT>{CB_ERR, CB_ERR, 3, kSpeedMin}),
              (std::vector<LRESULT>{SendTo(IDC_START_KEY, CB_GETCURSEL), SendTo(IDC_END_KEY, CB_GETCURSEL),
                                    SendTo(IDC_TOGGLE_KEY, CB_GETCURSEL), SpeedPosition()}));
}
