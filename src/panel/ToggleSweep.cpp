#include "panel/ClickerDlg.h"

#include "platform/Desktop.h"

#include <cmath>

namespace {

// The centre sits at this fraction of the screen height, a single-precision
// value used widened to double.
constexpr float kCentreHeightFactorSingle = 0.6066666841506958f;
constexpr double kCentreHeightFactor = kCentreHeightFactorSingle;

// Degrees to radians with pi taken as 3.14, in single precision; the sweep's
// points depend on this exact value.
constexpr float kDegreeToRadian = 0.017444444820284843f;

// The centre is one pixel left of the screen's middle.
constexpr int kCentreLeftOfMiddle = 1;

// One pass per lift of the anchor above the centre, in this order.
constexpr int kAnchorLifts[] = {5, 25, 45};

// Rings from radius 1 outwards, 8 apart, while below 8 times the radius.
constexpr int kFirstRingRadius = 1;
constexpr int kRingSpacing = 8;
constexpr int kSweepLimitPerRadius = 8;

// The angle step in degrees: 45 less 3 on the first ring, 3 less on every
// next one, and 5 once it would fall below 1.
constexpr int kFirstStep = 45;
constexpr int kStepDecrease = 3;
constexpr int kSmallestStep = 1;
constexpr int kFallbackStep = 5;
constexpr int kFullCircle = 360;

// Releases at the anchor: one after the centre's press, two after a ring point's.
constexpr int kCentreDragReleases = 1;
constexpr int kRingDragReleases = 2;

} // namespace

int CClickerDlg::SweepLimit() const
{
    return m_nRadius * kSweepLimitPerRadius;
}

void CClickerDlg::ToggleSweep()
{
    if (!m_bToggle || m_bSweeping)
        return;
    m_bSweeping = TRUE;

    const int width = m_desktop.GetSystemMetrics(SM_CXSCREEN);
    const int height = m_desktop.GetSystemMetrics(SM_CYSCREEN);
    m_ptCenter.x = width / 2 - kCentreLeftOfMiddle;
    const double centreY = height * kCentreHeightFactor;
    m_ptCenter.y = static_cast<LONG>(centreY);
    m_ptAnchor.x = m_ptCenter.x;

    for (const int lift : kAnchorLifts) {
        m_ptAnchor.y = static_cast<LONG>(centreY - lift);
        SweepDrag(m_ptCenter, kCentreDragReleases);

        int step = kFirstStep;
        // The limit is read afresh for every ring.
        for (int radius = kFirstRingRadius; radius < SweepLimit(); radius += kRingSpacing) {
            step -= kStepDecrease;
            if (step < kSmallestStep)
                step = kFallbackStep;
            for (int degrees = 0; degrees < kFullCircle; degrees += step) {
                const double angle = degrees * static_cast<double>(kDegreeToRadian);
                const POINT from = {m_ptCenter.x + static_cast<LONG>(std::cos(angle) * radius),
                                    m_ptCenter.y + static_cast<LONG>(std::sin(angle) * radius)};
                SweepDrag(from, kRingDragReleases);
            }
        }
    }

    m_bSweeping = FALSE;
}

// Press at 'from', release at the anchor: the cursor is always moved first,
// since button events act where the cursor is.
void CClickerDlg::SweepDrag(const POINT& from, int releases)
{
    m_desktop.SetCursorPos(from.x, from.y);
    m_desktop.MouseEvent(MOUSEEVENTF_LEFTDOWN, static_cast<DWORD>(from.x), static_cast<DWORD>(from.y), 0, 0);
    m_desktop.SetCursorPos(m_ptAnchor.x, m_ptAnchor.y);
    for (int i = 0; i < releases; ++i)
        m_desktop.MouseEvent(MOUSEEVENTF_LEFTUP, static_cast<DWORD>(m_ptAnchor.x), static_cast<DWORD>(m_ptAnchor.y),
                             0, 0);
}
