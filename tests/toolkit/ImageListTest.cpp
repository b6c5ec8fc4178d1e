// The image list: strips split into images, drawn through their mask or
// embossed, nothing leaked. (Its change links are tested through the items.)
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/ImgList.h"

#include <gtest/gtest.h>


using namespace toolkit_testing;

namespace {

const COLORREF Magenta = RGB(255, 0, 255), Paper = RGB(20, 40, 60), White = RGB(255, 255, 255);

// Image i of a strip: a square of colour i in a 2-pixel magenta ring, with a white pixel at (4, 4).
COLORREF StripPixel(int x, int y)
{
    const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 180)};
    const int ix = x % 16;
    return ix < 2 || ix >= 14 || y < 2 || y >= 14 ? Magenta : ix == 4 && y == 4 ? White : colours[x / 16 % 3];
}

TEST(ImageList, StripsSplitIntoImagesDrawnThroughTheirMaskOrEmbossedAndNothingLeaks)
{
    const long atStart = LiveGdiObjects();
    {
        TCustomImageList list(nullptr);
        BitmapHandle strip = MakePixelBitmap(48 + 5, 16, StripPixel); // the partial image at the end is left out
        BitmapHandle mask = MakePixelBitmap(48, 16, [](int x, int y) { return StripPixel(x, y) == Magenta ? White : 0; });
        EXPECT_EQ(0, list.AddMasked(strip.Get(), static_cast<TColor>(Magenta)));
        EXPECT_EQ(3, list.Add(strip.Get(), mask.Get()));
        EXPECT_EQ(-1, list.Add(MakePixelBitmap(10, 16, StripPixel).Get()));
        EXPECT_EQ(6, list.Count());
        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
        const struct {
            int index;
            bool enabled;
            int x, y;
            COLORREF expected;
        } cases[] = {
            {1, true, 1, 1, Paper}, {1, true, 2, 2, RGB(0, 160, 0)}, {1, true, 13, 13, RGB(0, 160, 0)},
            {1, true, 14, 14, Paper}, {1, true, 4, 4, White}, {5, true, 8, 8, RGB(0, 0, 180)}, {5, true, 0, 0, Paper},
            // Disabled: the shape in shadow, its highlight one right and down, light pixels left out.
            {2, false, 2, 2, shadow}, {2, false, 14, 14, light}, {2, false, 14, 8, light}, {2, false, 1, 8, Paper},
            {2, false, 15, 15, Paper}, {2, false, 4, 4, light}, {2, false, 5, 5, shadow}, {6, true, 8, 8, Paper},
        };
        for (const auto& c : cases) {
            WindowDC screen(nullptr);
            MemoryDC dc(screen.Get());
            BitmapHandle bmp(CreateCompatibleBitmap(screen.Get(), 40, 40));
            SelectScope select(dc.Get(), bmp.Get());
            BrushHandle paper = MakeSolidBrush(static_cast<TColor>(Paper));
            RECT all{0, 0, 40, 40};
            FillRect(dc.Get(), &all, paper.Get());
            SetTextColor(dc.Get(), RGB(1, 2, 3));
            list.Draw(dc.Get(), 10, 10, c.index, c.enabled);
            EXPECT_EQ(ColorText(c.expected), ColorText(GetPixel(dc.Get(), 10 + c.x, 10 + c.y)))
                << "image " << c.index << (c.enabled ? "" : " disabled") << " at " << c.x << "," << c.y;
            EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc.Get())) << "the canvas's colours are put back";
        }
    }
    EXPECT_EQ(atStart, LiveGdiObjects());
}

} // namespace
