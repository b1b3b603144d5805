#include "common/Png.h"

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

TEST(Picture, DecodePngGivesTheRowsFromTheTopEachPixelAsAlphaRedGreenBlue)
{
    // 2 x 2, 8-bit RGB: (10 20 30) (40 50 60) above (70 80 90) (A0 B0 C0).
    const BYTE png[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
        0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0xFD, 0xD4, 0x9A,
        0x73, 0x00, 0x00, 0x00, 0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x10, 0x50, 0x30, 0x70,
        0x08, 0x48, 0x60, 0x28, 0x68, 0x98, 0xB0, 0x60, 0xC3, 0x01, 0x00, 0x18, 0x1E, 0x04, 0xE1, 0xCE,
        0xA1, 0xBA, 0x83, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
    };
    const CPixels picture = DecodePng(png, sizeof png);
    EXPECT_TRUE(picture.width == 2 && picture.height == 2);
    EXPECT_EQ((std::vector<std::uint32_t>{0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0}), PixelsOf(picture));
    EXPECT_TRUE(DecodePng(png + 1, sizeof png - 1).IsEmpty());
}
