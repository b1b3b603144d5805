#include "support/RecordingDesktop.h"

#include <gtest/gtest.h>

// The record that keeps Windows 11 from ignoring the finer resolution while
// the panel hides in the tray: the current version, the timer-resolution
// policy taken in charge and switched off. Windows 7, without the function,
// is asked once and nothing else follows.
TEST(Desktop, TimerResolutionOptOutTakesChargeOfTheTimerPolicyAndSwitchesItOff)
{
    for (const BOOL available : {TRUE, FALSE}) {
        CRecordingDesktop desktop;
        desktop.hasPowerThrottling = available;
        EXPECT_EQ(available != FALSE, KeepTimerResolutionWhileHidden(desktop));
        EXPECT_EQ(Calls{ThrottlingCall(1, 0x4, 0)}, desktop.calls);
    }
}
