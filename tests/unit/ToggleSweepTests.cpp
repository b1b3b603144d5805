#include "support/PanelFixture.h"

#include <algorithm>

namespace {

using Calls = std::vector<DesktopCall>;
using Offset = std::pair<long, long>;

class ToggleSweepTest : public OpenPanelTest {
protected:
    // A tick with the toggle key held, and what its sweep did: every call
    // after the key's query.
    Calls Sweep()
    {
        desktop.calls.clear();
        desktop.held = {VK_F4};
        Tick();
        desktop.held.clear();
        const auto key = std::find(desktop.calls.begin(), desktop.calls.end(), KeyCall(VK_F4));
        return key == desktop.calls.end() ? Calls{} : Calls(key + 1, desktop.calls.end());
    }
    static std::vector<DesktopCall> Presses(const Calls& calls)
    {
        std::vector<DesktopCall> presses;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(presses),
                     [](const DesktopCall& call) { return call == DownCall(call.x, call.y); });
        return presses;
    }
};

} // namespace

// Worked out by hand from the sweep's constants on an 800 x 600 screen: the
// centre (399, 364), the anchors 5, 25 and 45 pixels above it, the rings of
// radius 1, 9, ... 57 stepping 42, 39, ... 21 degrees, and the offsets of
// their first points from the centre.
TEST_F(ToggleSweepTest, RadiusEightOnAnEightHundredBySixHundredScreen)
{
    const Calls calls = Sweep();
    ASSERT_EQ(2u + 1497u, calls.size());
    EXPECT_EQ((Calls{MetricsCall(SM_CXSCREEN), MetricsCall(SM_CYSCREEN), MoveCall(399, 364), DownCall(399, 364),
                     MoveCall(399, 359), UpCall(399, 359), MoveCall(400, 364), DownCall(400, 364), MoveCall(399, 359),
                     UpCall(399, 359), UpCall(399, 359)}),
              Calls(calls.begin(), calls.begin() + 11));
    EXPECT_EQ((Calls{MoveCall(399, 319), UpCall(399, 319), UpCall(399, 319)}), Calls(calls.end() - 3, calls.end()));

    const std::vector<DesktopCall> presses = Presses(calls);
    ASSERT_EQ(3u * 100u, presses.size());
    std::vector<Offset> firstPass;
    for (size_t i = 0; i < 100; ++i)
        firstPass.emplace_back(presses[i].x - 399, presses[i].y - 364);
    // Radius 1: only the first point is off the centre.
    EXPECT_EQ(std::vector<Offset>({{0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}),
              std::vector<Offset>(firstPass.begin(), firstPass.begin() + 10));
    EXPECT_EQ(std::vector<Offset>({{9, 0}, {6, 5}, {1, 8}, {-4, 8}}),
              std::vector<Offset>(firstPass.begin() + 10, firstPass.begin() + 14));
    EXPECT_EQ(std::vector<Offset>({{57, 0}, {53, 20}, {42, 38}, {25, 50}, {6, 56}}),
              std::vector<Offset>(firstPass.begin() + 82, firstPass.begin() + 87));
    // One anchor per pass, where its drags are released.
    std::vector<long> anchors;
    for (const DesktopCall& call : calls)
        if (call == UpCall(call.x, call.y) && (anchors.empty() || anchors.back() != call.y))
            anchors.push_back(call.y);
    EXPECT_EQ((std::vector<long>{359, 339, 319}), anchors);
}

// The whole pass grows with the radius set on the up-down, by the rings
// counted by hand; the centre follows the screen.
TEST_F(ToggleSweepTest, RadiusAndScreenSizeShapeTheSweep)
{
    const size_t ringDrags[] = {9, 19, 29, 40, 52, 66, 81, 99, 119, 143};
    for (int radius = 1; radius <= 10; ++radius) {
        SendTo(IDC_RADIUS_SPIN, UDM_SETPOS32, 0, radius);
        EXPECT_EQ(3 * (1 + ringDrags[radius - 1]), Presses(Sweep()).size()) << "radius " << radius;
    }
    desktop.screen = {1024, 768};
    EXPECT_EQ(DownCall(511, 465), Presses(Sweep()).front());
}

// A cleared Toggle box, or a sweep already under way, starts none.
TEST_F(ToggleSweepTest, ClearedToggleBoxAndARunningSweepRefuseToStart)
{
    CClickerDlgTestAccess::SetSweeping(*panel, true);
    EXPECT_EQ(Calls{}, Sweep());
    CClickerDlgTestAccess::SetSweeping(*panel, false);
    Click(IDC_TOGGLE_ON);
    EXPECT_EQ(Calls{}, Sweep());
    EXPECT_EQ((Calls{KeyCall(VK_F2), KeyCall(VK_F3), KeyCall(VK_F4)}), desktop.calls);
}
