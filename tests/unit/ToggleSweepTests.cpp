#include "support/PanelFixture.h"

#include <commctrl.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

namespace {

class ToggleSweepTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        Open();
        desktop.Clear();
    }
    void SetRadius(int radius) const { ::SendMessageA(Control(IDC_RADIUS_SPIN), UDM_SETPOS32, 0, radius); }
    // Offsets from the centre of the presses of the first pass, centre drag excluded.
    std::vector<POINT> FirstPassRingPresses() const;
};

template <typename T, typename Bits> T FromBits(Bits bits)
{
    static_assert(sizeof(T) == sizeof(Bits), "same size");
    T value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The whole sweep worked out from the constants' bit patterns and the
// documented pattern: per pass a centre drag, then rings of radius
// 1, 9, 17, ... below radius * 8, ring k stepping 42 - 3k degrees.
std::vector<DesktopCall> ExpectedSweep(int width, int height, int radius)
{
    const double heightFactor = FromBits<double>(UINT64_C(0x3FE369D040000000));
    const float degreeFactor = FromBits<float>(UINT32_C(0x3C8EE7A7));
    std::vector<DesktopCall> calls = {MetricsCall(SM_CXSCREEN), MetricsCall(SM_CYSCREEN)};
    const long cx = width / 2 - 1;
    const double y = height * heightFactor;
    const long cy = static_cast<long>(y);
    for (int lift : {5, 25, 45}) {
        const long ay = static_cast<long>(y - lift);
        calls.insert(calls.end(), {MoveCall(cx, cy), DownCall(cx, cy), MoveCall(cx, ay), UpCall(cx, ay)});
        for (int ring = 0; 1 + 8 * ring < radius * 8; ++ring) {
            const int r = 1 + 8 * ring;
            for (int d = 0; d < 360; d += 42 - 3 * ring) {
                const long x = cx + static_cast<long>(std::cos(d * static_cast<double>(degreeFactor)) * r);
                const long py = cy + static_cast<long>(std::sin(d * static_cast<double>(degreeFactor)) * r);
                calls.insert(calls.end(), {MoveCall(x, py), DownCall(x, py), MoveCall(cx, ay), UpCall(cx, ay),
                                           UpCall(cx, ay)});
            }
        }
    }
    return calls;
}

std::vector<POINT> ToggleSweepTest::FirstPassRingPresses() const
{
    std::vector<POINT> offsets;
    long firstAnchor = -1;
    for (const DesktopCall& call : desktop.CallsOf(DesktopCall::Button)) {
        if (call.a == MOUSEEVENTF_LEFTDOWN)
            offsets.push_back({call.b - panel->m_ptCenter.x, call.c - panel->m_ptCenter.y});
        else if (firstAnchor < 0)
            firstAnchor = call.c;
        else if (call.c != firstAnchor)
            break; // released at the second pass's anchor
    }
    offsets.pop_back(); // the second pass's centre drag
    offsets.erase(offsets.begin()); // the centre drag
    return offsets;
}

bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

} // namespace

TEST_F(ToggleSweepTest, RadiusEightOnAnEightHundredBySixHundredScreen)
{
    panel->ToggleSweep();
    const std::vector<DesktopCall> expected = ExpectedSweep(800, 600, 8);
    ASSERT_EQ(2u + 1497u, expected.size());
    EXPECT_EQ(expected, desktop.calls);

    EXPECT_EQ(399, panel->m_ptCenter.x);
    EXPECT_EQ(364, panel->m_ptCenter.y);
    std::vector<long> anchors;
    for (const DesktopCall& call : desktop.CallsOf(DesktopCall::Button))
        if (call.a == MOUSEEVENTF_LEFTUP && (anchors.empty() || anchors.back() != call.c)) {
            EXPECT_EQ(399, call.b);
            anchors.push_back(call.c);
        }
    EXPECT_EQ((std::vector<long>{359, 339, 319}), anchors);
    EXPECT_EQ(319, panel->m_ptAnchor.y);
    EXPECT_EQ(399, desktop.cursor.x);
    EXPECT_EQ(319, desktop.cursor.y);
    EXPECT_FALSE(panel->m_bSweeping);
}

TEST_F(ToggleSweepTest, RingPointsTruncateTowardZero)
{
    panel->ToggleSweep();
    const std::vector<POINT> presses = FirstPassRingPresses();
    ASSERT_EQ(99u, presses.size());
    // Ring of radius 1: only its first point is off the centre.
    EXPECT_TRUE(presses[0] == (POINT{1, 0}));
    for (size_t i = 1; i < 9; ++i)
        EXPECT_TRUE(presses[i] == (POINT{0, 0})) << i;
    // Ring of radius 9 starts after the 9 points of radius 1.
    const POINT ring9[] = {{9, 0}, {6, 5}, {1, 8}, {-4, 8}};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(presses[9 + i] == ring9[i]) << i;
    // Ring of radius 57, the last: 81 points before it.
    const POINT ring57[] = {{57, 0}, {53, 20}, {42, 38}, {25, 50}, {6, 56}};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(presses[81 + i] == ring57[i]) << i;
}

TEST_F(ToggleSweepTest, RadiusSetsTheNumberOfRings)
{
    const struct {
        int radius;
        size_t presses; // all three passes
    } cases[] = {{1, 3 * 10}, {10, 3 * 144}};
    for (const auto& c : cases) {
        SetRadius(c.radius);
        desktop.Clear();
        panel->ToggleSweep();
        size_t presses = 0;
        for (const DesktopCall& call : desktop.CallsOf(DesktopCall::Button))
            presses += call.a == MOUSEEVENTF_LEFTDOWN ? 1 : 0;
        EXPECT_EQ(c.presses, presses) << c.radius;
        EXPECT_EQ(ExpectedSweep(800, 600, c.radius), desktop.calls) << c.radius;
    }
}

TEST_F(ToggleSweepTest, OddScreensAndTheClearedBoxAndNesting)
{
    desktop.screenWidth = 1024;
    desktop.screenHeight = 768;
    panel->ToggleSweep();
    EXPECT_EQ(ExpectedSweep(1024, 768, 8), desktop.calls);
    EXPECT_EQ(511, panel->m_ptCenter.x);
    EXPECT_EQ(465, panel->m_ptCenter.y);

    desktop.Clear();
    panel->m_bSweeping = TRUE; // a sweep already running refuses another
    panel->ToggleSweep();
    EXPECT_TRUE(desktop.calls.empty());
    panel->m_bSweeping = FALSE;

    Click(IDC_TOGGLE_ON);
    desktop.Tap(VK_F4);
    desktop.Clear();
    Tick();
    EXPECT_EQ((std::vector<DesktopCall>{KeyCall(VK_F2), KeyCall(VK_F3), KeyCall(VK_F4)}), desktop.calls);
}
