#pragma once
// The chevron at the end of a toolbar that has no room for all its items:
// it links to the toolbar's root item, so its popup would show the items.
// This program's page bar wraps instead; the chevron is never shown there.
#include "toolbar/items/TBCustomItem.h"

class TTBChevronItem : public TTBCustomItem {
public:
    QV_CLASS(TTBChevronItem, TTBCustomItem)
    // The toolbar view whose chevron this is.
    TTBChevronItem(TComponent* owner, TTBView* toolbarView);

    void SetToolbarView(TTBView* view) { FToolbarView = view; }
    TTBView* GetChevronParentView() const override { return FToolbarView; }
    TTBItemViewerClass GetItemViewerClass(TTBView* view) const override;

private:
    TTBView* FToolbarView;
};
