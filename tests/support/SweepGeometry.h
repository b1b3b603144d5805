#pragma once
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

// One drag of the toggle sweep: a press at 'from', the cursor moved to the
// anchor, and as many releases there.
struct SweepDrag {
    POINT from;
    POINT anchor;
    int releases;
};

// The whole sweep on a screen of that size, worked out from the constants'
// bit patterns: per anchor lift a centre drag, then rings of radius 1, 9,
// 17, ... below radius * 8, ring k stepping 42 - 3k degrees, each point
// dragged to the anchor and released twice.
inline std::vector<SweepDrag> ExpectedSweep(long width, long height, int radius)
{
    const auto fromBits = [](auto bits, auto value) {
        std::memcpy(&value, &bits, sizeof value);
        return static_cast<double>(value);
    };
    const double heightFactor = fromBits(UINT64_C(0x3FE369D040000000), 0.0);
    const double degree = fromBits(UINT32_C(0x3C8EE7A7), 0.0f);
    const POINT centre = {width / 2 - 1, static_cast<LONG>(height * heightFactor)};
    std::vector<SweepDrag> drags;
    for (int lift : {5, 25, 45}) {
        const POINT anchor = {centre.x, static_cast<LONG>(height * heightFactor - lift)};
        drags.push_back({centre, anchor, 1});
        for (int k = 0, r = 1; r < radius * 8; ++k, r += 8)
            for (int d = 0; d < 360; d += 42 - 3 * k) {
                const POINT from = {centre.x + static_cast<LONG>(std::cos(d * degree) * r),
                                    centre.y + static_cast<LONG>(std::sin(d * degree) * r)};
                drags.push_back({from, anchor, 2});
            }
    }
    return drags;
}
