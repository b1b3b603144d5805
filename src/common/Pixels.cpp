#include "common/Pixels.h"

#include <algorithm>

namespace {

// One source cell's share in a target cell.
struct AreaTap {
    int index;
    double weight;
};

// For each of 'to' cells laid over 'from' cells, the cells it covers and by
// how much, as shares of the target cell: cell i's taps start at
// taps[i * perCell], counts[i] of them.
struct AreaTaps {
    CHeapArray<AreaTap> taps;
    CHeapArray<int> counts;
    size_t perCell = 0;

    bool Make(int from, int to)
    {
        const double step = static_cast<double>(from) / to;
        // A cell of 'step' old cells touches at most that many and a part one at each end.
        constexpr size_t kPartCells = 2;
        perCell = static_cast<size_t>(step) + kPartCells;
        if (!taps.Reset(static_cast<size_t>(to) * perCell) || !counts.Reset(static_cast<size_t>(to)))
            return false;
        for (int i = 0; i < to; ++i) {
            const double begin = i * step;
            const double end = begin + step;
            for (int cell = static_cast<int>(begin); cell < from && cell < end; ++cell) {
                const double covered = std::min(end, cell + 1.0) - std::max(begin, static_cast<double>(cell));
                if (covered > 0)
                    taps[static_cast<size_t>(i) * perCell + static_cast<size_t>(counts[static_cast<size_t>(i)]++)] =
                        {cell, covered / step};
            }
        }
        return true;
    }
    const AreaTap* begin(int cell) const { return taps.Data() + static_cast<size_t>(cell) * perCell; }
    const AreaTap* end(int cell) const { return begin(cell) + counts[static_cast<size_t>(cell)]; }
};

} // namespace

bool CPixels::Allocate(int newWidth, int newHeight)
{
    const bool allocated = pixels.Reset(static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight));
    width = allocated ? newWidth : 0;
    height = allocated ? newHeight : 0;
    return allocated;
}

SIZE FitInside(SIZE picture, SIZE box)
{
    if (picture.cx <= 0 || picture.cy <= 0 || box.cx <= 0 || box.cy <= 0)
        return {0, 0};
    // The side that meets the box first decides.
    if (static_cast<long long>(box.cx) * picture.cy <= static_cast<long long>(box.cy) * picture.cx)
        return {box.cx, std::max(1, ::MulDiv(picture.cy, box.cx, picture.cx))};
    return {std::max(1, ::MulDiv(picture.cx, box.cy, picture.cy)), box.cy};
}

CPixels ScaleArea(const CPixels& source, int width, int height)
{
    CPixels result;
    AreaTaps columns, rows;
    // Across first, each channel on its own, then down.
    CHeapArray<double> across;
    if (source.IsEmpty() || width <= 0 || height <= 0 || !columns.Make(source.width, width) ||
        !rows.Make(source.height, height) ||
        !across.Reset(static_cast<size_t>(width) * source.height * kPixelChannels) || !result.Allocate(width, height))
        return CPixels();
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < width; ++x) {
            double* sum = &across[(static_cast<size_t>(y) * width + x) * kPixelChannels];
            for (const AreaTap* tap = columns.begin(x); tap != columns.end(x); ++tap) {
                const std::uint32_t pixel = source.pixels[static_cast<size_t>(y) * source.width + tap->index];
                for (int channel = 0; channel < kPixelChannels; ++channel)
                    sum[channel] += tap->weight * ChannelOf(pixel, channel);
            }
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double sum[kPixelChannels] = {};
            for (const AreaTap* tap = rows.begin(y); tap != rows.end(y); ++tap)
                for (int channel = 0; channel < kPixelChannels; ++channel)
                    sum[channel] += tap->weight *
                                    across[(static_cast<size_t>(tap->index) * width + x) * kPixelChannels + channel];
            std::uint32_t pixel = 0;
            for (int channel = 0; channel < kPixelChannels; ++channel) {
                // Rounded to the nearest level.
                const double level = std::min<double>(kChannelMax, sum[channel] + 0.5);
                pixel |= static_cast<std::uint32_t>(level) << (kBitsPerChannel * channel);
            }
            result.pixels[static_cast<size_t>(y) * width + x] = pixel;
        }
    return result;
}
