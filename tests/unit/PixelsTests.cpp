#include "common/Pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CPixels Picture(int width, int height, const std::vector<std::uint32_t>& pixels)
{
    CPixels picture;
    picture.Allocate(width, height);
    std::copy(pixels.begin(), pixels.end(), picture.pixels.Data());
    return picture;
}

std::vector<std::uint32_t> PixelsOf(const CPixels& picture)
{
    return std::vector<std::uint32_t>(picture.pixels.Data(), picture.pixels.Data() + picture.pixels.Size());
}

} // namespace

// How the picture fits its frame is seen end to end, at every scale
// (E2EScale); here, what the reduction makes of the pixels.
TEST(Pixels, ScaleAreaAveragesWhatEachNewPixelCovers)
{
    // Halved both ways: each new pixel is the mean of its 2 x 2 block, channel by channel.
    const CPixels blocks = Picture(4, 2, {0xFF000000, 0xFFFFFFFF, 0x00102030, 0x00102030, //
                                          0xFF000000, 0xFFFFFFFF, 0x00102030, 0x00302010});
    EXPECT_EQ((std::vector<std::uint32_t>{0xFF808080, 0x00182028}), PixelsOf(ScaleArea(blocks, 2, 1)));
    // Three to two: the middle pixel is split between both new ones.
    EXPECT_EQ((std::vector<std::uint32_t>{30, 150}), PixelsOf(ScaleArea(Picture(3, 1, {0, 90, 180}), 2, 1)));
    // One colour stays that colour at the panel's sizes, up or down, to the edges.
    for (const SIZE size : {SIZE{245, 90}, SIZE{964, 356}, SIZE{1, 1}}) {
        const CPixels solid = Picture(482, 178, std::vector<std::uint32_t>(482 * 178, 0xFF2B8FD6));
        EXPECT_EQ(std::vector<std::uint32_t>(static_cast<size_t>(size.cx * size.cy), 0xFF2B8FD6),
                  PixelsOf(ScaleArea(solid, size.cx, size.cy)))
            << size.cx << " x " << size.cy;
    }
}
