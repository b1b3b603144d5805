#include "app/SingleInstance.h"
#include "panel/ClickerDlg.h"
#include "support/RecordingDesktop.h"
#include "support/Texts.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

namespace {

// A copy of the program on the recording desktop, and a window that stands
// in for the running copy's panel.
class SingleInstanceTest : public ::testing::Test {
protected:
    SingleInstanceTest() { desktop.runningPanel = running.top; }

    CRecordingDesktop desktop;
    OtherWindow running{L"running panel"};
    const CText name = L"vexo_unit_instance";
    CSingleInstance instance{desktop, name};
};

} // namespace

// The first copy makes the mutex; a name taken, or refused because a copy
// run as administrator or by another account made it, means a copy runs.
TEST_F(SingleInstanceTest, AMutexTakenOrRefusedMeansACopyRuns)
{
    for (const auto& c : {std::make_pair(ERROR_SUCCESS, true), std::make_pair(ERROR_ALREADY_EXISTS, false),
                          std::make_pair(ERROR_ACCESS_DENIED, false)}) {
        desktop.mutexErrors = {static_cast<DWORD>(c.first)};
        EXPECT_EQ(c.second, instance.Claim()) << c.first;
        EXPECT_EQ(c.first != ERROR_ACCESS_DENIED, instance.HoldsMutex()) << c.first;
    }
}

// A second copy beeps and says so, passes the running copy's process its
// right to the foreground and asks that panel to show itself, which a
// panel run as administrator takes from no other hand; then its last box.
// With no panel to find, only the last box.
TEST_F(SingleInstanceTest, ASecondCopyPassesTheForegroundAndItsRequestToTheRunningPanel)
{
    ASSERT_TRUE(instance.ActivateRunningCopy());
    EXPECT_EQ((Calls{kBeep, AllowCall(::GetCurrentProcessId()),
                     PostCall(running.top, ::RegisterWindowMessageW(kShowPanelMessage)), ForegroundSetCall(running.top),
                     ForegroundSetCall(running.top)}),
              desktop.calls);
    desktop.runningPanel = nullptr;
    EXPECT_FALSE(instance.ActivateRunningCopy());
    instance.ReportSecondCopy();
    ASSERT_EQ(2u, desktop.boxes.size());
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Texts::kSecondCopyMessages[i], Utf8(desktop.boxes[i].text)) << i;
        EXPECT_TRUE(!desktop.boxes[i].owner && desktop.boxes[i].caption == name.GetString())
            << "owned, or captioned otherwise: " << i;
    }
}

// A copy started to take over takes the values only when the running panel
// names its process, and then tells that copy and waits for its end: by its
// process, or, where another account's process cannot be opened, by its
// window. Refused the mutex by that copy's security, it asks again until
// the name is free, so that the next start finds it running.
TEST_F(SingleInstanceTest, ATakeoverWaitsForTheOldCopyAndThenHoldsTheMutex)
{
    const UINT taken = ::RegisterWindowMessageW(kHandoverTakenMessage);
    const DWORD self = ::GetCurrentProcessId();
    Takeover takeover = {};
    EXPECT_FALSE(instance.TakeOver(takeover)) << "nothing offered";
    OfferHandover(running.top, name, {{4, 6, 8, 500, 1, 0}, 3, 2});
    NameSuccessor(running.top, name, self);

    desktop.mutexErrors = {ERROR_ALREADY_EXISTS};
    instance.Claim();
    desktop.calls.clear();
    ASSERT_TRUE(instance.TakeOver(takeover));
    EXPECT_EQ(500, takeover.values.saved.time);
    EXPECT_EQ((Calls{PostCall(running.top, taken), ProcessWaitCall(self)}), desktop.calls) << "the mutex held already";

    CSingleInstance otherAccounts(desktop, name);
    desktop.sameUser = FALSE;
    desktop.processWait = WAIT_FAILED;
    desktop.mutexErrors = {ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, ERROR_SUCCESS};
    otherAccounts.Claim();
    desktop.calls.clear();
    ASSERT_TRUE(otherAccounts.TakeOver(takeover));
    EXPECT_TRUE(takeover.fromAnotherUser);
    EXPECT_EQ((Calls{PostCall(running.top, taken), ProcessWaitCall(self), WindowWaitCall(running.top), kMutexCreate,
                     {DesktopCall::Pause}, kMutexCreate}),
              desktop.calls);
    EXPECT_TRUE(otherAccounts.HoldsMutex());
}
