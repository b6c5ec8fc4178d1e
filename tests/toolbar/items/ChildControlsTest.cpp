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

TEST(ToolbarChildControls, ResizingOrHidingAControlArrangesTheBarAgainWithoutRecursion)
{
    // "A [edit] B" in the top dock of a shown form.
    auto form = MakeForm(600, 200);
    auto* dock = new TTBDock(form.get());
    dock->SetParent(form.get());
    auto* bar = new CountingBar(form.get());
    auto* a = new TTBItem(form.get());
    auto* b = new TTBItem(form.get());
    a->SetCaption("A");
    b->SetCaption("B");
    auto* edit = new TEdit(form.get());
    edit->SetBounds(0, 0, 60, 21);
    auto* item = new TTBControlItem(form.get());
    item->SetControl(edit);
    for (TTBCustomItem* i : {static_cast<TTBCustomItem*>(a), static_cast<TTBCustomItem*>(item), static_cast<TTBCustomItem*>(b)})
        bar->Items()->Add(i);
    edit->SetParent(bar);
    bar->SetParent(dock);
    ShowAndActivate(*form);
    ASSERT_EQ(3, bar->Items()->Count()) << "the edit has its item: none is added";
    auto rectOf = [&](TTBCustomItem* i) { return bar->View()->Find(i)->BoundsRect(); };
    const RECT aRect = rectOf(a), bRect = rectOf(b);
    const int bW = bRect.right - bRect.left, bH = bRect.bottom - bRect.top, barWidth = bar->Width();
    const struct {
        const char* what;
        std::function<void()> change;
        int editWidth; // 0: hidden
    } steps[] = {
        {"made wider", [&] { edit->SetBounds(edit->Left(), edit->Top(), 120, 21); }, 120},
        {"made narrower", [&] { edit->SetWidth(40); }, 40},
        {"hidden", [&] { edit->Hide(); }, 0},
        {"shown", [&] { edit->Show(); }, 40},
        {"moved elsewhere", [&] { edit->SetBounds(200, 30, 40, 21); }, 40},
    };
    for (const auto& s : steps) {
        bar->Arrangements = bar->MaxDepth = 0;
        s.change();
        EXPECT_EQ(1, bar->MaxDepth) << s.what << ": arranged once, the view's own moves start nothing";
        EXPECT_EQ(barWidth + s.editWidth - 60, bar->Width()) << s.what;
        // The row is as thick as its thickest shown item; the others are centred in it.
        const int row = s.editWidth > 0 ? std::max(21, bH) : bH;
        EXPECT_EQ(RectText(R(aRect.right + s.editWidth, (row - bH) / 2, bW, bH)), RectText(rectOf(b))) << s.what;
        RECT window{};
        GetWindowRect(edit->Handle(), &window);
        MapWindowPoints(nullptr, bar->Handle(), reinterpret_cast<POINT*>(&window), 2);
        EXPECT_EQ(s.editWidth > 0 ? RectText(R(aRect.right, (row - 21) / 2, s.editWidth, 21))
                                  : RectText(R(-41, -22, 40, 21)),
                  RectText(window))
            << s.what << ": the edit's window (out of sight while hidden)";
    }
    // The view's own relayout (a longer caption) moves the edit without an arrangement.
    bar->Arrangements = 0;
    a->SetCaption("A longer caption");
    EXPECT_EQ(rectOf(a).right, edit->Left());
    EXPECT_GT(edit->Left(), aRect.right);
    EXPECT_EQ(0, bar->Arrangements);
}

TEST(ToolbarChildControls, ControlsWithoutAnItemGetOneAtTheEndOfLoadingAndWhenPutOnTheBarLater)
{
    auto form = MakeForm(600, 200);
    form->BeginLoading();
    auto* dock = new TTBDock(form.get());
    dock->SetParent(form.get());
    auto* bar = new TTBToolbar(form.get());
    bar->Items()->Add(new TTBItem(form.get()));
    auto* loose = new TEdit(form.get());
    loose->SetBounds(0, 0, 70, 21);
    loose->SetParent(bar);
    bar->SetParent(dock);
    EXPECT_EQ(1, bar->Items()->Count()) << "nothing is added while loading";
    form->EndLoading();
    ShowAndActivate(*form);
    auto controlOf = [&](int i) {
        auto* item = dynamic_cast<TTBControlItem*>(bar->Items()->Items(i));
        return item ? item->Control() : nullptr;
    };
    ASSERT_EQ(2, bar->Items()->Count());
    EXPECT_EQ(loose, controlOf(1)) << "the loose edit's item comes last";
    EXPECT_EQ(bar->View()->Viewers(0)->BoundsRect().right, loose->Left());

    // Put on the bar at run time: an item at the end too, and the bar grows.
    auto* later = new TEdit(form.get());
    later->SetBounds(0, 0, 30, 21);
    const int widthBefore = bar->Width();
    later->SetParent(bar);
    ASSERT_EQ(3, bar->Items()->Count());
    EXPECT_EQ(later, controlOf(2));
    EXPECT_EQ(loose->Left() + loose->Width(), later->Left());
    EXPECT_EQ(widthBefore + 30, bar->Width());

    // An item given to it afterwards takes over from the bar's own, which
    // goes and leaves the control.
    auto* own = new TTBControlItem(form.get());
    own->SetControl(later);
    bar->Items()->Insert(0, own);
    ASSERT_EQ(3, bar->Items()->Count());
    EXPECT_EQ(later, controlOf(0));
    EXPECT_EQ(0, later->Left());
    EXPECT_EQ(loose, controlOf(2));
}

} // namespace
