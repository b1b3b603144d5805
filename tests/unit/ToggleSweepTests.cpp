#include "support/PanelFixture.h"
#include "support/SweepGeometry.h"

#include <algorithm>

namespace {

using Calls = std::vector<DesktopCall>;

// The desktop calls of a whole sweep: the screen size, then per drag the
// cursor moved to the point, pressed, moved to the anchor and released.
Calls ExpectedCalls(long width, long height, int radius)
{
    Calls calls = {MetricsCall(SM_CXSCREEN), MetricsCall(SM_CYSCREEN)};
    for (const SweepDrag& drag : ExpectedSweep(width, height, radius)) {
        calls.insert(calls.end(), {MoveCall(drag.from.x, drag.from.y), DownCall(drag.from.x, drag.from.y),
                                   MoveCall(drag.anchor.x, drag.anchor.y)});
        calls.insert(calls.end(), static_cast<size_t>(drag.releases), UpCall(drag.anchor.x, drag.anchor.y));
    }
    return calls;
}

class ToggleSweepTest : public OpenPanelTest {
protected:
    Calls Sweep()
    {
        desktop.calls.clear();
        panel->ToggleSweep();
        return desktop.calls;
    }
};

} // namespace

TEST_F(ToggleSweepTest, RadiusEightOnAnEightHundredBySixHundredScreen)
{
    const Calls calls = Sweep();
    ASSERT_EQ(2u + 1497u, calls.size());
    EXPECT_EQ(ExpectedCalls(800, 600, 8), calls);
    const POINT centre = {399, 364};
    EXPECT_TRUE(panel->m_ptCenter.x == centre.x && panel->m_ptCenter.y == centre.y);
    EXPECT_TRUE(desktop.cursor.x == 399 && desktop.cursor.y == 319 && panel->m_ptAnchor.y == 319);
    EXPECT_FALSE(panel->m_bSweeping);

    // Offsets of the first pass's presses from the centre: itself, ring 1, ring 9, ... ring 57.
    std::vector<std::pair<long, long>> presses;
    std::vector<long> anchors;
    for (const DesktopCall& call : desktop.CallsOf(DesktopCall::Button)) {
        if (call.flags == MOUSEEVENTF_LEFTDOWN)
            presses.emplace_back(call.x - centre.x, call.y - centre.y);
        else if (anchors.empty() || anchors.back() != call.y)
            anchors.push_back(call.y);
    }
    EXPECT_EQ((std::vector<long>{359, 339, 319}), anchors);
    using P = std::pair<long, long>;
    EXPECT_EQ(P(0, 0), presses[0]);
    EXPECT_EQ(P(1, 0), presses[1]); // radius 1: only the first point is off the centre
    for (int i = 2; i <= 9; ++i)
        EXPECT_EQ(P(0, 0), presses[i]) << i;
    EXPECT_EQ((std::vector<P>{{9, 0}, {6, 5}, {1, 8}, {-4, 8}}), std::vector<P>(presses.begin() + 10, presses.begin() + 14));
    EXPECT_EQ((std::vector<P>{{57, 0}, {53, 20}, {42, 38}, {25, 50}, {6, 56}}),
              std::vector<P>(presses.begin() + 82, presses.begin() + 87));
}

TEST_F(ToggleSweepTest, RadiusAndScreenSizeShapeTheSweep)
{
    const struct {
        int radius;
        POINT screen;
        size_t presses; // three passes
    } cases[] = {{1, {800, 600}, 3 * 10}, {10, {800, 600}, 3 * 144}, {8, {1024, 768}, 3 * 100}};
    for (const auto& c : cases) {
        SendTo(IDC_RADIUS_SPIN, UDM_SETPOS32, 0, c.radius);
        desktop.screen = c.screen;
        const Calls calls = Sweep();
        EXPECT_EQ(ExpectedCalls(c.screen.x, c.screen.y, c.radius), calls) << c.radius;
        const auto isPress = [](const DesktopCall& call) { return call == DownCall(call.x, call.y); };
        EXPECT_EQ(c.presses, static_cast<size_t>(std::count_if(calls.begin(), calls.end(), isPress))) << c.radius;
    }
    EXPECT_TRUE(panel->m_ptCenter.x == 511 && panel->m_ptCenter.y == 465);
}

TEST_F(ToggleSweepTest, ClearedToggleBoxAndARunningSweepRefuseToStart)
{
    panel->m_bSweeping = TRUE;
    EXPECT_EQ(Calls{}, Sweep());
    panel->m_bSweeping = FALSE;
    Click(IDC_TOGGLE_ON);
    desktop.held = {VK_F4};
    desktop.calls.clear();
    Tick();
    EXPECT_EQ((Calls{KeyCall(VK_F2), KeyCall(VK_F3), KeyCall(VK_F4)}), desktop.calls);
}
