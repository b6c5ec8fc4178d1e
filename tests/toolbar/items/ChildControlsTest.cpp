// A toolbar's child controls on a real bar in a real dock: the bar arranges
// again when a control's size or visibility changes, its own moves of the
// controls don't start another arrangement, and controls without a control
// item get one, at the end of loading and when put on the bar later.
#include "tests/support/TestSupport.h"
#include "tests/toolkit/ToolkitTesting.h"
#include "toolbar/items/TBControlItem.h"
#include "toolbar/items/TBToolbar.h"
#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

// Counts the bar's real arrangements and how deeply they nest.
class CountingBar : public TTBToolbar {
public:
    using TTBToolbar::TTBToolbar;
    int Arrangements = 0;
    int Depth = 0;
    int MaxDepth = 0;
    SIZE ArrangeContents(bool canMove, PlacementKind previous, bool newFloating, TTBDock* newDock) override
    {
        if (!canMove)
            return TTBToolbar::ArrangeContents(canMove, previous, newFloating, newDock);
        ++Arrangements;
        MaxDepth = std::max(MaxDepth, ++Depth);
        SIZE size = TTBToolbar::ArrangeContents(canMove, previous, newFloating, newDock);
        --Depth;
        return size;
    }
};

RECT R(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

std::string BoundsText(const TControl* c)
{
    return RectText(R(c->Left(), c->Top(), c->Width(), c->Height()));
}

// A bar "A [edit] B" in the top dock of a shown form.
struct EditBar {
    EditBar()
    {
        dock = new TTBDock(form.get());
        dock->SetParent(form.get());
        bar = new CountingBar(form.get());
        a = new TTBItem(form.get());
        a->SetCaption("A");
        b = new TTBItem(form.get());
        b->SetCaption("B");
        edit = new TEdit(form.get());
        edit->SetBounds(0, 0, 60, 21);
        item = new TTBControlItem(form.get());
        item->SetControl(edit);
        bar->Items()->Add(a);
        bar->Items()->Add(item);
        bar->Items()->Add(b);
        edit->SetParent(bar);
        bar->SetParent(dock);
        ShowAndActivate(*form);
    }
    RECT ViewerRect(TTBCustomItem* of) const { return bar->View()->Find(of)->BoundsRect(); }
    std::unique_ptr<TForm> form = MakeForm(600, 200);
    TTBDock* dock;
    CountingBar* bar;
    TTBItem* a;
    TTBItem* b;
    TEdit* edit;
    TTBControlItem* item;
};

TEST(ToolbarChildControls, ResizingOrHidingAControlArrangesTheBarAgainWithoutRecursion)
{
    EditBar t;
    const RECT a = t.ViewerRect(t.a);
    ASSERT_EQ(1, t.bar->Items()->IndexOf(t.item)) << "the edit keeps its own item, none is added";
    ASSERT_EQ(3, t.bar->Items()->Count());
    const int bHeight = t.ViewerRect(t.b).bottom - t.ViewerRect(t.b).top;
    const int barWidth = t.bar->Width();
    const int bWidth = t.ViewerRect(t.b).right - t.ViewerRect(t.b).left;
    const struct Step {
        const char* what;
        std::function<void()> change;
        int editWidth;   // the edit's width after the change, 0: hidden
        int barGrowth;   // the bar's width against the start
    } steps[] = {
        {"the edit made wider", [&] { t.edit->SetBounds(t.edit->Left(), t.edit->Top(), 120, 21); }, 120, 60},
        {"the edit made narrower", [&] { t.edit->SetWidth(40); }, 40, -20},
        {"the edit hidden", [&] { t.edit->Hide(); }, 0, -60},
        {"the edit shown", [&] { t.edit->Show(); }, 40, -20},
        {"the edit moved elsewhere", [&] { t.edit->SetBounds(200, 30, 40, 21); }, 40, -20},
    };
    for (const Step& s : steps) {
        t.bar->Arrangements = t.bar->MaxDepth = 0;
        s.change();
        Pump(30);
        EXPECT_GE(t.bar->Arrangements, 1) << s.what;
        EXPECT_EQ(1, t.bar->MaxDepth) << s.what << ": the view's own moves of the edit arranged again";
        EXPECT_EQ(barWidth + s.barGrowth, t.bar->Width()) << s.what;
        // The row is as thick as its thickest shown item; the others are centred in it.
        const int row = s.editWidth > 0 ? std::max(21, bHeight) : bHeight;
        EXPECT_EQ(RectText(R(a.right + s.editWidth, (row - bHeight) / 2, bWidth, bHeight)),
                  RectText(t.ViewerRect(t.b)))
            << s.what;
        if (s.editWidth > 0) {
            EXPECT_EQ(RectText(R(a.right, (row - 21) / 2, s.editWidth, 21)), BoundsText(t.edit)) << s.what;
            RECT window{};
            GetWindowRect(t.edit->Handle(), &window);
            MapWindowPoints(nullptr, t.bar->Handle(), reinterpret_cast<POINT*>(&window), 2);
            EXPECT_EQ(BoundsText(t.edit), RectText(window)) << s.what << ": the edit's window";
        } else {
            EXPECT_LT(t.edit->Left() + t.edit->Width(), 0) << s.what << ": a hidden edit is out of sight";
            EXPECT_EQ(40, t.edit->Width()) << s.what << ": and keeps its size";
        }
    }

    // The view's own relayout (a longer caption) moves the edit, and that
    // move asks for no arrangement of its own.
    t.bar->Arrangements = t.bar->MaxDepth = 0;
    const int editLeft = t.edit->Left();
    t.a->SetCaption("A longer caption");
    Pump(30);
    EXPECT_GT(t.edit->Left(), editLeft);
    EXPECT_EQ(t.ViewerRect(t.a).right, t.edit->Left());
    EXPECT_EQ(0, t.bar->Arrangements) << "the view's move of the edit arranged the bar";
}

TEST(ToolbarChildControls, ControlsWithoutAnItemGetOneAtTheEndOfLoadingAndWhenPutOnTheBarLater)
{
    auto form = MakeForm(600, 200);
    form->BeginLoading();
    auto* dock = new TTBDock(form.get());
    dock->SetParent(form.get());
    auto* bar = new TTBToolbar(form.get());
    auto* a = new TTBItem(form.get());
    a->SetCaption("A");
    auto* designed = new TEdit(form.get());
    designed->SetBounds(0, 0, 50, 21);
    auto* designedItem = new TTBControlItem(form.get());
    designedItem->SetControl(designed);
    auto* loose = new TEdit(form.get());
    loose->SetBounds(0, 0, 70, 21);
    bar->Items()->Add(designedItem);
    bar->Items()->Add(a);
    designed->SetParent(bar);
    loose->SetParent(bar);
    bar->SetParent(dock);
    EXPECT_EQ(2, bar->Items()->Count()) << "nothing is added while loading";
    form->EndLoading();
    ShowAndActivate(*form);

    auto controlOf = [&](int i) {
        auto* item = dynamic_cast<TTBControlItem*>(bar->Items()->Items(i));
        return item ? item->Control() : nullptr;
    };
    ASSERT_EQ(3, bar->Items()->Count());
    EXPECT_EQ(designed, controlOf(0));
    EXPECT_EQ(loose, controlOf(2)) << "the loose edit's item comes last";
    const RECT aRect = bar->View()->Find(a)->BoundsRect();
    EXPECT_EQ(aRect.right, loose->Left()) << "and the edit stands after the button";

    // Put on the bar at run time: the control gets an item at the end too.
    auto* later = new TEdit(form.get());
    later->SetBounds(0, 0, 30, 21);
    const int widthBefore = bar->Width();
    later->SetParent(bar);
    ASSERT_EQ(4, bar->Items()->Count());
    EXPECT_EQ(later, controlOf(3));
    EXPECT_EQ(loose->Left() + loose->Width(), later->Left());
    EXPECT_EQ(widthBefore + 30, bar->Width());

    // An item given to it afterwards takes over from the one the bar made;
    // the control stays.
    auto* own = new TTBControlItem(form.get());
    own->SetControl(later);
    bar->Items()->Insert(0, own);
    ASSERT_EQ(4, bar->Items()->Count());
    EXPECT_EQ(later, controlOf(0));
    EXPECT_EQ(0, later->Left());
    EXPECT_EQ(3, bar->Items()->IndexOf(bar->Items()->Items(3)));
    EXPECT_EQ(loose, controlOf(3));
    EXPECT_EQ(later, bar->FindControlItem(later)->Control());
}

} // namespace
