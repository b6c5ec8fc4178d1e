// The image list: strips split into images, drawn transparently or
// embossed, every change told to the links that still listen, and no GDI
// object left behind.
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/ImgList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace toolkit_testing;

namespace {

const COLORREF Magenta = RGB(255, 0, 255), Grey = RGB(90, 90, 90), Paper = RGB(20, 40, 60);

// Image i of the strip: a square of colour i inside a 2-pixel magenta
// ring, with a white pixel at (4, 4).
COLORREF StripPixel(int x, int y)
{
    static const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 180)};
    const int ix = x % 16;
    if (ix < 2 || ix >= 14 || y < 2 || y >= 14)
        return Magenta;
    if (ix == 4 && y == 4)
        return RGB(255, 255, 255);
    return colours[x / 16];
}

// Draws one image onto paper and reads the pixels back.
struct Canvas {
    Canvas() : Select(DC.Get(), Bmp.Get())
    {
        RECT all{0, 0, 40, 40};
        BrushHandle paper = MakeSolidBrush(static_cast<TColor>(Paper));
        FillRect(DC.Get(), &all, paper.Get());
    }
    COLORREF At(int x, int y) const { return GetPixel(DC.Get(), x, y); }
    WindowDC Screen{nullptr};
    MemoryDC DC{Screen.Get()};
    BitmapHandle Bmp{CreateCompatibleBitmap(Screen.Get(), 40, 40)};
    SelectScope Select;
};

TEST(ImageList, AStripSplitsIntoImagesDrawnThroughTheirMaskOrEmbossedWhenDisabled)
{
    const long atStart = LiveGdiObjects();
    {
        TCustomImageList list(nullptr);
        BitmapHandle strip = MakePixelBitmap(48 + 5, 16, StripPixel); // a partial image at the end is left out
        EXPECT_EQ(0, list.AddMasked(strip.Get(), static_cast<TColor>(Magenta)));
        // The same strip again, its ring cut away by an explicit mask instead.
        BitmapHandle mask = MakePixelBitmap(48, 16, [](int x, int y) {
            return StripPixel(x, y) == Magenta ? RGB(255, 255, 255) : RGB(0, 0, 0);
        });
        EXPECT_EQ(3, list.Add(strip.Get(), mask.Get()));
        EXPECT_EQ(6, list.Count());
        BitmapHandle narrow = MakePixelBitmap(10, 16, StripPixel);
        EXPECT_EQ(-1, list.Add(narrow.Get()));

        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
        struct Case {
            int index;
            bool enabled;
            int x, y;
            COLORREF expected;
        } cases[] = {
            {1, true, 10 + 1, 10 + 1, Paper},               // ring: transparent
            {1, true, 10 + 2, 10 + 2, RGB(0, 160, 0)},      // the square's corner
            {1, true, 10 + 13, 10 + 13, RGB(0, 160, 0)},
            {1, true, 10 + 14, 10 + 14, Paper},
            {1, true, 10 + 4, 10 + 4, RGB(255, 255, 255)},  // light pixels are kept when enabled
            {5, true, 10 + 8, 10 + 8, RGB(0, 0, 180)},      // through the explicit mask
            {5, true, 10 + 0, 10 + 0, Paper},
            {2, false, 10 + 2, 10 + 2, shadow},             // the shape in shadow...
            {2, false, 10 + 14, 10 + 14, light},            // ...its highlight one right and down
            {2, false, 10 + 14, 10 + 8, light},
            {2, false, 10 + 1, 10 + 8, Paper},
            {2, false, 10 + 15, 10 + 15, Paper},
            {2, false, 10 + 4, 10 + 4, light},              // a light pixel drops out: no shadow there
            {2, false, 10 + 5, 10 + 5, shadow},
            {6, true, 10 + 8, 10 + 8, Paper},               // no such image: nothing drawn
        };
        for (const Case& c : cases) {
            Canvas canvas;
            list.Draw(canvas.DC.Get(), 10, 10, c.index, c.enabled);
            EXPECT_EQ(ColorText(c.expected), ColorText(canvas.At(c.x, c.y)))
                << "image " << c.index << (c.enabled ? "" : " disabled") << " at " << c.x - 10 << "," << c.y - 10;
        }
        // The canvas's colours are put back.
        Canvas canvas;
        SetTextColor(canvas.DC.Get(), Grey);
        list.Draw(canvas.DC.Get(), 0, 0, 0, false);
        EXPECT_EQ(Grey, GetTextColor(canvas.DC.Get()));
    }
    EXPECT_EQ(atStart, LiveGdiObjects());
}

struct Listener {
    void Changed(TObject* sender)
    {
        Senders.push_back(sender);
    }
    std::vector<TObject*> Senders;
};

TEST(ImageList, ChangeLinksHearEveryChangeUntilFreedAndAFreedListLeavesThemWithout)
{
    auto list = std::make_unique<TCustomImageList>(nullptr);
    auto other = std::make_unique<TCustomImageList>(nullptr);
    Listener a, b;
    auto first = std::make_unique<TChangeLink>();
    TChangeLink second;
    first->OnChange = MakeMethod<&Listener::Changed>(&a);
    second.OnChange = MakeMethod<&Listener::Changed>(&b);
    first->SetImages(list.get());
    second.SetImages(list.get());
    BitmapHandle strip = MakePixelBitmap(32, 16, StripPixel);
    struct Step {
        const char* what;
        std::function<void()> change;
        size_t heardByA, heardByB;
    } steps[] = {
        {"added", [&] { list->AddMasked(strip.Get(), static_cast<TColor>(Magenta)); }, 1, 1},
        {"same size", [&] { list->SetSize(16, 16); }, 1, 1},
        {"resized: emptied", [&] { list->SetWidth(24); }, 2, 2},
        {"cleared when empty", [&] { list->Clear(); }, 2, 2},
        {"first link freed", [&] { first.reset(); }, 2, 2},
        {"added after", [&] { list->AddMasked(strip.Get(), static_cast<TColor>(Magenta)); }, 2, 3},
        {"second link moved away", [&] { second.SetImages(other.get()); }, 2, 3},
        {"the old list changes", [&] { list->Clear(); }, 2, 3},
        {"the new list changes", [&] { other->SetHeight(8); }, 2, 4},
    };
    for (const Step& s : steps) {
        s.change();
        EXPECT_EQ(s.heardByA, a.Senders.size()) << s.what;
        EXPECT_EQ(s.heardByB, b.Senders.size()) << s.what;
    }
    EXPECT_EQ(list.get(), a.Senders[0]);
    EXPECT_EQ(other.get(), b.Senders.back());
    EXPECT_EQ(0, list->Count());
    other.reset();
    EXPECT_EQ(nullptr, second.Images());
}

} // namespace
