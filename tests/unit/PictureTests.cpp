#include "framework/Picture.h"

#include <gtest/gtest.h>

TEST(Picture, FitInsideKeepsTheProportionsAndMeetsTheBoxOnOneSide)
{
    const struct {
        SIZE box, fitted;
    } cases[] = {
        {{245, 98}, {245, 90}},   // relatively taller than the picture: the width decides
        {{600, 178}, {482, 178}}, // relatively wider: the height decides
        {{300, 50}, {135, 50}},   // 482 * 50 / 178 = 135.4
        {{0, 98}, {0, 0}},
    };
    for (const auto& c : cases) {
        const SIZE fitted = FitInside({482, 178}, c.box);
        EXPECT_EQ(c.fitted.cx, fitted.cx) << c.box.cx << " x " << c.box.cy;
        EXPECT_EQ(c.fitted.cy, fitted.cy) << c.box.cx << " x " << c.box.cy;
    }
}

TEST(Picture, ScaleAreaAveragesWhatEachNewPixelCovers)
{
    // Halved both ways: each new pixel is the mean of its 2 x 2 block, channel by channel.
    const CPixels blocks = {4, 2, {0xFF000000, 0xFFFFFFFF, 0x00102030, 0x00102030, //
                                   0xFF000000, 0xFFFFFFFF, 0x00102030, 0x00302010}};
    EXPECT_EQ((std::vector<std::uint32_t>{0xFF808080, 0x00182028}), ScaleArea(blocks, 2, 1).pixels);
    // Three to two: the middle pixel is split between both new ones.
    const CPixels row = {3, 1, {0, 90, 180}};
    EXPECT_EQ((std::vector<std::uint32_t>{30, 150}), ScaleArea(row, 2, 1).pixels);
    // One colour stays that colour at the panel's sizes, up or down, to the edges.
    for (const SIZE size : {SIZE{245, 90}, SIZE{964, 356}, SIZE{1, 1}}) {
        const CPixels solid = {482, 178, std::vector<std::uint32_t>(482 * 178, 0xFF2B8FD6)};
        const CPixels scaled = ScaleArea(solid, size.cx, size.cy);
        EXPECT_EQ(std::vector<std::uint32_t>(static_cast<size_t>(size.cx * size.cy), 0xFF2B8FD6), scaled.pixels)
            << size.cx << " x " << size.cy;
    }
}
