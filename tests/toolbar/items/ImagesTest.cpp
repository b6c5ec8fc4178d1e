// Item images: what an image does to a button's size in each display mode,
// what a change of Images or ImageIndex tells the views, a freed list, and
// the images on a real toolbar: placed, pushed, embossed, with real input.
#include "tests/toolbar/items/ItemTesting.h"
#include "tests/toolbar/items/PaintTesting.h"
#include "tests/toolbar/items/ViewTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;
using namespace item_testing;
using view_testing::Bar;
using view_testing::Metrics;
using view_testing::R;

namespace {

const COLORREF Magenta = RGB(255, 0, 255), Red = RGB(200, 0, 0);

// A list of one image: a red square inside a 2-pixel transparent ring.
std::unique_ptr<TCustomImageList> ListOf(int size)
{
    auto list = std::make_unique<TCustomImageList>(nullptr);
    list->SetSize(size, size);
    BitmapHandle bmp = toolkit_testing::MakePixelBitmap(size, size, [size](int x, int y) {
        return x < 2 || y < 2 || x >= size - 2 || y >= size - 2 ? Magenta : Red;
    });
    list->AddMasked(bmp.Get(), static_cast<TColor>(Magenta));
    return list;
}

struct Lists {
    std::unique_ptr<TCustomImageList> L16 = ListOf(16), L24 = ListOf(24);
};

TEST(ItemImages, AnImageSizesItsButtonAsItsDisplayModeSays)
{
    const Metrics m;
    const int cap = m.W("Cap"), next = m.W("Next");
    struct Case {
        const char* what;
        std::function<void(TTBItem*, TTBRootItem*, Lists&)> setUp;
        SIZE size; // of the item with the image
        bool rotated;
    } cases[] = {
        {"image alone", [](TTBItem* i, TTBRootItem*, Lists& l) { i->SetImages(l.L16.get()); }, {23, 22}, false},
        {"image left of the caption",
         [](TTBItem* i, TTBRootItem*, Lists& l) {
             i->SetImages(l.L16.get());
             i->SetDisplayMode(nbdmImageAndText);
         },
         {cap + 17, std::max(m.H, 22)}, false},
        {"image above the caption",
         [](TTBItem* i, TTBRootItem*, Lists& l) {
             i->SetImages(l.L16.get());
             i->SetOptions(OptionBit(tboImageAboveCaption));
         },
         {std::max(cap, 23), m.H + 16}, false},
        {"text only, though it has an image",
         [](TTBItem* i, TTBRootItem*, Lists& l) {
             i->SetImages(l.L16.get());
             i->SetDisplayMode(nbdmTextOnly);
         },
         {cap, m.H}, false},
        {"text only in menus: an image in a toolbar",
         [](TTBItem* i, TTBRootItem*, Lists& l) {
             i->SetImages(l.L16.get());
             i->SetDisplayMode(nbdmTextOnlyInMenus);
         },
         {23, 22}, false},
        {"no image list found: neither image nor caption", [](TTBItem*, TTBRootItem*, Lists&) {}, {6, 6}, false},
        {"no image index: the caption",
         [](TTBItem* i, TTBRootItem*, Lists& l) {
             i->SetImages(l.L16.get());
             i->SetImageIndex(-1);
         },
         {cap, m.H}, false},
        {"the bar's images serve", [](TTBItem*, TTBRootItem* r, Lists& l) { r->SetSubmenuImages(l.L24.get()); },
         {31, 30}, false},
        {"the item's own list before the bar's",
         [](TTBItem* i, TTBRootItem* r, Lists& l) {
             r->SetSubmenuImages(l.L24.get());
             i->SetImages(l.L16.get());
         },
         {23, 22}, false},
        {"a turned caption has the image above it",
         [](TTBItem* i, TTBRootItem*, Lists& l) {
             i->SetImages(l.L16.get());
             i->SetDisplayMode(nbdmImageAndText);
         },
         {std::max(m.H, 23), cap + 16}, true},
    };
    for (const Case& c : cases) {
        Lists lists;
        Bar bar("Cap Next", c.rotated);
        auto* item = static_cast<TTBItem*>(bar.Root.Items(0));
        item->SetImageIndex(0);
        c.setUp(item, &bar.Root, lists);
        bar.View->ComputePositions(true, c.rotated ? tbvoVertical : tbvoHorizontal, 0, 0, 12);
        const SIZE s = c.size;
        std::vector<std::string> expected;
        if (!c.rotated) {
            // One row, each item centred across it.
            const int row = std::max(static_cast<int>(s.cy), m.H);
            expected = {view_testing::RectText(R(0, (row - s.cy) / 2, s.cx, s.cy)),
                        view_testing::RectText(R(s.cx, (row - m.H) / 2, next, m.H))};
        } else {
            const int column = std::max(static_cast<int>(s.cx), m.H);
            expected = {view_testing::RectText(R(column - ((column - s.cx) / 2 + s.cx), 0, s.cx, s.cy)),
                        view_testing::RectText(R(column - ((column - m.H) / 2 + m.H), s.cy, m.H, next))};
        }
        EXPECT_EQ(expected, bar.Rects()) << c.what;
    }
}

struct ImageTree {
    ImageTree()
    {
        Root.SetName("Root");
        Item->SetName("I");
        Root.Add(Item);
    }
    TComponent Owner{nullptr};
    TTBRootItem Root{nullptr};
    TTBItem* Item = new TTBItem(&Owner);
    std::unique_ptr<TCustomImageList> A = ListOf(16), B = ListOf(16), C = ListOf(24);
    BitmapHandle Strip = toolkit_testing::MakePixelBitmap(16, 16, [](int, int) { return Red; });
};

TEST(ItemImages, ImagesAndImageIndexTellTheViewsWhatTheyChange)
{
    struct Case {
        const char* what;
        std::function<void(ImageTree&)> before, change;
        const char* expected;
    } cases[] = {
        {"a list set through the published property", nullptr,
         [](ImageTree& t) { SetObjectProp(t.Item, *t.Item->ClassType().FindProperty("images"), t.A.get()); },
         "RepaintAndRelayout -1 I"},
        {"the same list again", [](ImageTree& t) { t.Item->SetImages(t.A.get()); },
         [](ImageTree& t) { t.Item->SetImages(t.A.get()); }, ""},
        {"another list of the same size", [](ImageTree& t) { t.Item->SetImages(t.A.get()); },
         [](ImageTree& t) { t.Item->SetImages(t.B.get()); }, "Repaint -1 I"},
        {"a list of another size", [](ImageTree& t) { t.Item->SetImages(t.A.get()); },
         [](ImageTree& t) { t.Item->SetImages(t.C.get()); }, "RepaintAndRelayout -1 I"},
        {"the list removed", [](ImageTree& t) { t.Item->SetImages(t.A.get()); },
         [](ImageTree& t) { t.Item->SetImages(nullptr); }, "RepaintAndRelayout -1 I"},
        {"images added to the list", [](ImageTree& t) { t.Item->SetImages(t.A.get()); },
         [](ImageTree& t) { t.A->Add(t.Strip.Get()); }, "Repaint -1 I"},
        {"the list resized", [](ImageTree& t) { t.Item->SetImages(t.A.get()); },
         [](ImageTree& t) { t.A->SetWidth(20); }, "RepaintAndRelayout -1 I"},
        {"the list freed", [](ImageTree& t) { t.Item->SetImages(t.A.get()); }, [](ImageTree& t) { t.A.reset(); },
         "RepaintAndRelayout -1 I"},
        {"a list given up changes",
         [](ImageTree& t) {
             t.Item->SetImages(t.A.get());
             t.Item->SetImages(t.B.get());
         },
         [](ImageTree& t) { t.A->Add(t.Strip.Get()); }, ""},
        {"image index lost", [](ImageTree& t) { t.Item->SetImageIndex(0); },
         [](ImageTree& t) { t.Item->SetImageIndex(-1); }, "RepaintAndRelayout -1 I"},
        {"submenu images set", nullptr, [](ImageTree& t) { t.Root.SetSubmenuImages(t.A.get()); },
         "SubmenuImagesSwapped -1 -"},
        {"submenu images' list changes", [](ImageTree& t) { t.Root.SetSubmenuImages(t.A.get()); },
         [](ImageTree& t) { t.A->Add(t.Strip.Get()); }, "SubmenuImagesSwapped -1 -"},
        {"submenu images' list freed", [](ImageTree& t) { t.Root.SetSubmenuImages(t.A.get()); },
         [](ImageTree& t) { t.A.reset(); }, "SubmenuImagesSwapped -1 -"},
    };
    for (const Case& c : cases) {
        ImageTree t;
        if (c.before)
            c.before(t);
        Recorder r(&t.Root);
        c.change(t);
        EXPECT_EQ(c.expected, r.Text()) << c.what;
    }
    // One list in both places: freeing it clears both references.
    ImageTree t;
    t.Item->SetImages(t.A.get());
    t.Root.SetSubmenuImages(t.A.get());
    t.Item->SetImages(t.B.get()); // the free notification stays for the other place
    t.Item->SetImages(t.A.get());
    t.A.reset();
    EXPECT_EQ(nullptr, t.Item->Images());
    EXPECT_EQ(nullptr, t.Root.SubmenuImages());
}

TEST(ItemImages, AFreedListLeavesNoReferenceAndTheViewLaysOutAgain)
{
    Lists lists;
    Bar bar("Cap");
    TTBCustomItem* item = bar.Root.Items(0);
    item->SetImageIndex(0);
    item->SetImages(lists.L16.get());
    auto size = [&] {
        const RECT r = bar.View->Find(item)->BoundsRect();
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    ASSERT_EQ(23, size().cx);
    int relayouts = bar.View->Relayouts;
    lists.L16.reset();
    EXPECT_EQ(nullptr, item->Images());
    EXPECT_EQ(relayouts + 1, bar.View->Relayouts);
    EXPECT_EQ(6, size().cx);
    // The bar's images: the view measures again when they come and when they go.
    bar.Root.SetSubmenuImages(lists.L24.get());
    EXPECT_EQ(31, size().cx);
    relayouts = bar.View->Relayouts;
    lists.L24.reset();
    EXPECT_EQ(nullptr, bar.Root.SubmenuImages());
    EXPECT_EQ(relayouts + 1, bar.View->Relayouts);
    EXPECT_EQ(6, size().cx);
}

// A real toolbar with images, drawn on screen.
class ImageBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        paint_testing::SendMouse(MOUSEEVENTF_MOVE, 0, 0);
        AtStart = LiveGdiObjects();
        Form = toolkit_testing::MakeForm(400, 200);
        Dock = new TTBDock(Form.get());
        Dock->SetParent(Form.get());
        Bar = new TTBToolbar(Form.get());
        Bar->SetSystemFont(false);
        Bar->SetParentFont(false);
        Bar->Font()->SetName("MS Sans Serif");
        Bar->Font()->SetHeight(-11);
        Bar->SetOptions(OptionBit(tboNoRotation));
        // Made after the bar, so it is freed first, while the bar still shows it.
        auto* list = new TCustomImageList(Form.get());
        BitmapHandle bmp = toolkit_testing::MakePixelBitmap(16, 16, [](int x, int y) {
            return x < 2 || y < 2 || x >= 14 || y >= 14 ? Magenta : Red;
        });
        list->AddMasked(bmp.Get(), static_cast<TColor>(Magenta));
        SetObjectProp(Bar, *Bar->ClassType().FindProperty("Images"), list);
        Img = Add("Img", nbdmDefault);
        Both = Add("Both", nbdmImageAndText);
        Off = Add("Off", nbdmDefault);
        Off->SetEnabled(false);
        Bar->SetCurrentDock(Dock);
        toolkit_testing::ShowAndActivate(*Form);
        Settle();
    }
    void TearDown() override
    {
        paint_testing::SendMouse(MOUSEEVENTF_LEFTUP);
        Form.reset();
        EXPECT_EQ(AtStart, LiveGdiObjects()) << "GDI objects left";
    }
    TTBItem* Add(const char* caption, TTBItemDisplayMode mode)
    {
        auto* item = new TTBItem(Form.get());
        item->SetCaption(caption);
        item->SetDisplayMode(mode);
        item->SetImageIndex(0);
        Bar->Items()->Add(item);
        return item;
    }
    HWND Wnd() { return Bar->Handle(); }
    RECT Bounds(TTBCustomItem* item) { return Bar->View()->Find(item)->BoundsRect(); }
    void Settle()
    {
        WaitFor([&] { return !GetUpdateRect(Wnd(), nullptr, FALSE); });
        Pump(30);
    }
    paint_testing::ScreenArea Shot() { return paint_testing::ScreenArea(Wnd(), Bar->ClientRect()); }
    std::string BoxOf(TTBCustomItem* item, COLORREF colour)
    {
        return paint_testing::BoxOf(Shot(), Bounds(item), [colour](COLORREF c) { return c == colour; });
    }
    // Where the red square of an image-only button is: the image is centred
    // inside the 2-pixel frame and padding, its ring transparent.
    std::string SquareOf(TTBCustomItem* item, int shift = 0)
    {
        const RECT r = Bounds(item);
        const int x = r.left + 2 + (r.right - r.left - 4 - 16) / 2, y = r.top + 2 + (r.bottom - r.top - 4 - 16) / 2;
        return toolkit_testing::RectText(x + 2 + shift, y + 2 + shift, 12, 12);
    }

    long AtStart = 0;
    std::unique_ptr<TForm> Form;
    TTBDock* Dock = nullptr;
    TTBToolbar* Bar = nullptr;
    TTBItem *Img = nullptr, *Both = nullptr, *Off = nullptr;
};

TEST_F(ImageBar, ImagesSitInTheirButtonsAndMoveWithAPress)
{
    const RECT img = Bounds(Img);
    EXPECT_EQ(23, img.right - img.left);
    EXPECT_EQ(22, img.bottom - img.top);
    EXPECT_EQ(SquareOf(Img), BoxOf(Img, Red));
    // The transparent ring shows the bar's face.
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), Shot().At(img.left + 4, img.top + 4));
    EXPECT_EQ("empty", BoxOf(Img, GetSysColor(COLOR_BTNTEXT))) << "no caption beside the image alone";

    // Image and caption: the image at the left of the inner rectangle, the text to its right.
    const RECT both = Bounds(Both);
    const int imageTop = both.top + 2 + (both.bottom - both.top - 4 - 16) / 2;
    EXPECT_EQ(toolkit_testing::RectText(both.left + 2 + 2, imageTop + 2, 12, 12), BoxOf(Both, Red));
    const std::string text = BoxOf(Both, GetSysColor(COLOR_BTNTEXT));
    int x, y, w, h;
    ASSERT_EQ(4, std::sscanf(text.c_str(), "(%d,%d %dx%d)", &x, &y, &w, &h)) << text;
    EXPECT_GE(x, both.left + 2 + 17);

    // Held down with the real mouse: one pixel right and down.
    RECT r = Bounds(Img);
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(Wnd(), &pt);
    paint_testing::SendMouse(MOUSEEVENTF_MOVE, pt.x, pt.y);
    ASSERT_TRUE(WaitFor([&] { return Bar->View()->Selected() == Bar->View()->Find(Img); }));
    paint_testing::SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitFor([&] { return Bar->View()->IsPushed(Bar->View()->Find(Img)); }));
    Settle();
    EXPECT_EQ(SquareOf(Img, 1), BoxOf(Img, Red));
    paint_testing::SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor([&] { return GetCapture() == nullptr; }));
}

TEST_F(ImageBar, ADisabledImageIsEmbossedAndPaintingMakesNoNewGdiObjects)
{
    EXPECT_EQ("empty", BoxOf(Off, Red));
    EXPECT_EQ(SquareOf(Off), BoxOf(Off, GetSysColor(COLOR_BTNSHADOW)));
    // The highlight copy shows one pixel right and down of the shadow one.
    EXPECT_EQ(SquareOf(Off, 1), BoxOf(Off, GetSysColor(COLOR_BTNHIGHLIGHT)));

    // Enabled again: the image in its colours.
    Off->SetEnabled(true);
    Settle();
    EXPECT_EQ(SquareOf(Off), BoxOf(Off, Red));

    const long painted = LiveGdiObjects();
    for (int i = 0; i < 3; ++i) {
        RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump(10);
    }
    EXPECT_EQ(painted, LiveGdiObjects());
}

} // namespace
