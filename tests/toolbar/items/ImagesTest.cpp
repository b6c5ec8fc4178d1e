// Item images: a button's size in each display mode, what a change of
// Images or ImageIndex tells the views, a freed list, and the images of a
// real toolbar on screen: placed, pushed with real input, embossed.
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
using view_testing::R;

namespace {

const COLORREF Magenta = RGB(255, 0, 255), Red = RGB(200, 0, 0);

// A list of one image: a red square in a 2-pixel transparent ring.
std::unique_ptr<TCustomImageList> ListOf(int size, TComponent* owner = nullptr)
{
    auto list = std::make_unique<TCustomImageList>(owner);
    list->SetSize(size, size);
    BitmapHandle bmp = toolkit_testing::MakePixelBitmap(size, size, [size](int x, int y) {
        return std::min(std::min(x, y), size - 1 - std::max(x, y)) < 2 ? Magenta : Red;
    });
    list->AddMasked(bmp.Get(), static_cast<TColor>(Magenta));
    return list;
}

TEST(ItemImages, AButtonIsSizedByItsImageAsItsDisplayModeSays)
{
    const view_testing::Metrics m;
    const int cap = m.W("Cap");
    const struct {
        const char* what;
        bool own, bars; // the item's own 16-pixel list, the bar's 24-pixel one
        TTBItemDisplayMode mode;
        int index;
        TTBItemOptions options;
        bool rotated;
        SIZE size;
    } cases[] = {
        {"image alone", true, false, nbdmDefault, 0, 0, false, {23, 22}},
        {"image left of the caption", true, false, nbdmImageAndText, 0, 0, false, {cap + 17, std::max(m.H, 22)}},
        {"image above the caption", true, false, nbdmDefault, 0, OptionBit(tboImageAboveCaption), false,
         {std::max(cap, 23), m.H + 16}},
        {"text only, though it has an image", true, false, nbdmTextOnly, 0, 0, false, {cap, m.H}},
        {"text only in menus: an image in a toolbar", true, false, nbdmTextOnlyInMenus, 0, 0, false, {23, 22}},
        {"no image list found: the caption", false, false, nbdmDefault, 0, 0, false, {cap, m.H}},
        {"no image index: the caption", true, false, nbdmDefault, -1, 0, false, {cap, m.H}},
        {"the bar's images serve", false, true, nbdmDefault, 0, 0, false, {31, 30}},
        {"the item's own list before the bar's", true, true, nbdmDefault, 0, 0, false, {23, 22}},
        {"a turned caption has the image above it", true, false, nbdmImageAndText, 0, 0, true,
         {std::max(m.H, 23), cap + 16}},
    };
    for (const auto& c : cases) {
        auto own = ListOf(16), bars = ListOf(24);
        Bar bar("Cap Next", c.rotated);
        auto* item = bar.Root.Items(0);
        item->SetImageIndex(c.index);
        item->SetDisplayMode(c.mode);
        item->SetOptions(c.options);
        item->SetImages(c.own ? own.get() : nullptr);
        bar.Root.SetSubmenuImages(c.bars ? bars.get() : nullptr);
        bar.View->ComputePositions(true, c.rotated ? tbvoVertical : tbvoHorizontal, 0, 0, 12);
        // Its size, and "Next" straight after it.
        const RECT r = bar.View->Viewers(0)->BoundsRect(), n = bar.View->Viewers(1)->BoundsRect();
        EXPECT_EQ(view_testing::RectText(R(0, 0, c.size.cx, c.size.cy)),
                  view_testing::RectText(R(0, 0, r.right - r.left, r.bottom - r.top))) << c.what;
        EXPECT_EQ(c.rotated ? r.bottom : r.right, c.rotated ? n.top : n.left) << c.what;
    }
}

struct ImageTree {
    ImageTree() { Root.SetName("Root"), Item->SetName("I"), Root.Add(Item); }
    TComponent Owner{nullptr};
    TTBRootItem Root{nullptr};
    TTBItem* Item = new TTBItem(&Owner);
    std::unique_ptr<TCustomImageList> A = ListOf(16), B = ListOf(16), C = ListOf(24);
    BitmapHandle Strip = toolkit_testing::MakePixelBitmap(16, 16, [](int, int) { return Red; });
};

TEST(ItemImages, ImagesAndImageIndexTellTheViewsWhatTheyChange)
{
    using T = ImageTree&;
    const auto withA = [](T t) { t.Item->SetImages(t.A.get()); };
    const auto barA = [](T t) { t.Root.SetSubmenuImages(t.A.get()); };
    const auto addToA = [](T t) { t.A->Add(t.Strip.Get()); };
    const auto freeA = [](T t) { t.A.reset(); };
    const struct {
        const char* what;
        std::function<void(T)> before, change;
        const char* expected;
    } cases[] = {
        {"a list set through the published property", nullptr,
         [](T t) { SetObjectProp(t.Item, *t.Item->ClassType().FindProperty("images"), t.A.get()); },
         "RepaintAndRelayout -1 I"},
        {"the same list again", withA, withA, ""},
        {"another list of the same size", withA, [](T t) { t.Item->SetImages(t.B.get()); }, "Repaint -1 I"},
        {"a list of another size", withA, [](T t) { t.Item->SetImages(t.C.get()); }, "RepaintAndRelayout -1 I"},
        {"the list removed", withA, [](T t) { t.Item->SetImages(nullptr); }, "RepaintAndRelayout -1 I"},
        {"images added to the list", withA, addToA, "Repaint -1 I"},
        {"the list resized", withA, [](T t) { t.A->SetWidth(20); }, "RepaintAndRelayout -1 I"},
        {"the list freed", withA, freeA, "RepaintAndRelayout -1 I"},
        {"a list given up changes", [](T t) { t.Item->SetImages(t.A.get()), t.Item->SetImages(t.B.get()); }, addToA,
         ""},
        {"image index lost", [](T t) { t.Item->SetImageIndex(0); }, [](T t) { t.Item->SetImageIndex(-1); },
         "RepaintAndRelayout -1 I"},
        {"the bar's images set", nullptr, barA, "SubmenuImagesSwapped -1 -"},
        {"the bar's images change", barA, addToA, "SubmenuImagesSwapped -1 -"},
        {"the bar's images freed", barA, freeA, "SubmenuImagesSwapped -1 -"},
    };
    for (const auto& c : cases) {
        ImageTree t;
        if (c.before)
            c.before(t);
        Recorder r(&t.Root);
        c.change(t);
        EXPECT_EQ(c.expected, r.Text()) << c.what;
    }
    // One list in both places, given up and taken back in one: freeing it clears both.
    ImageTree t;
    withA(t), barA(t), t.Item->SetImages(t.B.get()), withA(t), freeA(t);
    EXPECT_EQ(nullptr, t.Item->Images());
    EXPECT_EQ(nullptr, t.Root.SubmenuImages());
}

// A real toolbar whose Images are set through its published property.
class ImageBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        paint_testing::SendMouse(MOUSEEVENTF_MOVE, 0, 0);
        Form = toolkit_testing::MakeForm(400, 200);
        auto* dock = new TTBDock(Form.get());
        dock->SetParent(Form.get());
        Bar = new TTBToolbar(Form.get());
        Bar->SetSystemFont(false);
        Bar->SetOptions(OptionBit(tboNoRotation));
        // Made after the bar, so freed first, while the bar still shows it.
        SetObjectProp(Bar, *Bar->ClassType().FindProperty("Images"), ListOf(16, Form.get()).release());
        for (TTBItemDisplayMode mode : {nbdmDefault, nbdmImageAndText, nbdmDefault}) {
            auto* item = new TTBItem(Form.get());
            item->SetCaption("Both");
            item->SetDisplayMode(mode);
            item->SetImageIndex(0);
            Bar->Items()->Add(item);
        }
        Img = Bar->Items()->Items(0), Both = Bar->Items()->Items(1), Off = Bar->Items()->Items(2);
        Off->SetEnabled(false);
        Bar->SetCurrentDock(dock);
        toolkit_testing::ShowAndActivate(*Form);
        Settle();
    }
    void TearDown() override
    {
        paint_testing::SendMouse(MOUSEEVENTF_LEFTUP);
        Form.reset();
        EXPECT_EQ(AtStart, LiveGdiObjects()) << "GDI objects left";
    }
    void Settle() { WaitFor([&] { return !GetUpdateRect(Bar->Handle(), nullptr, FALSE); }), Pump(30); }
    RECT Bounds(TTBCustomItem* item) { return Bar->View()->Find(item)->BoundsRect(); }
    std::string BoxOf(TTBCustomItem* item, COLORREF colour)
    {
        paint_testing::ScreenArea shot(Bar->Handle(), Bar->ClientRect());
        return paint_testing::BoxOf(shot, Bounds(item), [colour](COLORREF c) { return c == colour; });
    }
    // The red square: the image centred inside the frame and padding (2 pixels each side), or
    // with a caption at the left of them; its ring is transparent.
    std::string SquareOf(TTBCustomItem* item, int shift = 0)
    {
        const RECT r = Bounds(item);
        const int left = item == Both ? 0 : (r.right - r.left - 4 - 16) / 2, top = (r.bottom - r.top - 4 - 16) / 2;
        return toolkit_testing::RectText(r.left + 4 + left + shift, r.top + 4 + top + shift, 12, 12);
    }

    const long AtStart = LiveGdiObjects();
    std::unique_ptr<TForm> Form;
    TTBToolbar* Bar = nullptr;
    TTBCustomItem *Img = nullptr, *Both = nullptr, *Off = nullptr;
};

TEST_F(ImageBar, ImagesSitInTheirButtonsAndMoveOneDownRightWhilePushed)
{
    EXPECT_EQ("(0,0 23x22)", toolkit_testing::RectText(Bounds(Img)));
    EXPECT_EQ(SquareOf(Img), BoxOf(Img, Red));
    EXPECT_EQ("empty", BoxOf(Img, GetSysColor(COLOR_BTNTEXT))) << "no caption beside an image alone";
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), toolkit_testing::ClientPixel(Bar->Handle(), 4, 4)) << "the ring";
    EXPECT_EQ(SquareOf(Both), BoxOf(Both, Red));
    const std::string text = BoxOf(Both, GetSysColor(COLOR_BTNTEXT));
    int x = 0;
    ASSERT_EQ(1, std::sscanf(text.c_str(), "(%d,", &x)) << text;
    EXPECT_GE(x, Bounds(Both).left + 2 + 17) << "the caption right of the image";

    POINT pt{11, 11};
    ClientToScreen(Bar->Handle(), &pt);
    paint_testing::SendMouse(MOUSEEVENTF_MOVE, pt.x, pt.y);
    paint_testing::SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitFor([&] { return Bar->View()->IsPushed(Bar->View()->Find(Img)); }));
    Settle();
    EXPECT_EQ(SquareOf(Img, 1), BoxOf(Img, Red));
}

TEST_F(ImageBar, ADisabledImageIsEmbossedAndPaintingMakesNoNewGdiObjects)
{
    EXPECT_EQ("empty", BoxOf(Off, Red));
    EXPECT_EQ(SquareOf(Off), BoxOf(Off, GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(SquareOf(Off, 1), BoxOf(Off, GetSysColor(COLOR_BTNHIGHLIGHT))) << "highlight one down right";
    Off->SetEnabled(true);
    Settle();
    EXPECT_EQ(SquareOf(Off), BoxOf(Off, Red));
    const long painted = LiveGdiObjects();
    for (int i = 0; i < 3; ++i)
        RedrawWindow(Bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW), Pump(10);
    EXPECT_EQ(painted, LiveGdiObjects());
    // The list freed: no reference left, and the buttons laid out again with their captions.
    delete Bar->Images();
    EXPECT_EQ(nullptr, Bar->Items()->SubmenuImages());
    Settle();
    EXPECT_EQ("empty", BoxOf(Img, Red));
    EXPECT_NE("empty", BoxOf(Img, GetSysColor(COLOR_BTNTEXT)));
    EXPECT_GT(Bounds(Img).right - Bounds(Img).left, 23);
}

} // namespace
