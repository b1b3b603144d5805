#include "settings/Handover.h"
#include "support/RecordingDesktop.h"

#include <gtest/gtest.h>

// The new copy takes the values offered only when its process is the one
// named; pending (not named yet), or named for another, it does not. The
// radius and turns, which no file keeps, travel with the six saved values.
TEST(Handover, IsTakenOnlyByTheProcessNamed)
{
    const OtherWindow panel(L"panel");
    const CText name = L"vexo_unit_handover";
    HandedOverValues taken = {};
    const DWORD self = ::GetCurrentProcessId();
    OfferHandover(panel.top, name, {{0, -1, 13, 1000, 2, 0}, 10, 4});
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
    NameSuccessor(panel.top, name, self + 4);
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
    NameSuccessor(panel.top, name, self);
    ASSERT_TRUE(IsHandedTo(panel.top, name, self, 0, taken));
    EXPECT_EQ((std::vector<int>{0, -1, 13, 1000, 2, 0, 10, 4}),
              (std::vector<int>{taken.saved.start, taken.saved.end, taken.saved.toggle, taken.saved.time,
                                taken.saved.autoOn, taken.saved.toggleOn, taken.radius, taken.turns}));
    WithdrawHandover(panel.top, name);
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
}
