#pragma once
// One pass of a view's layout: which viewers are shown, what each measures
// with the view's font, which items a chevron sends off the edge, and, when
// the pass may move things, the rectangles and flags it gives the viewers.
// The placing itself is TTBViewLayout's arithmetic.
#include "toolbar/items/TBView.h"

#include <memory>
#include <vector>

class TTBViewPositions {
public:
    explicit TTBViewPositions(TTBView& view);
    TTBViewPositions(const TTBViewPositions&) = delete;
    TTBViewPositions& operator=(const TTBViewPositions&) = delete;

    // The view's orientation is already the one asked for.
    TTBLayoutResult Run(bool canMove, TTBViewOrientation orientation, int wrapOffset, int chevronOffset,
                        int chevronSize, SIZE startTotal);

private:
    std::vector<bool> ShownViewers(const std::vector<bool>& offEdge) const;
    std::vector<bool> OffEdgeViewers(const std::vector<bool>& shown, const std::vector<int>& mains, int room) const;

    TTBView& FView;
    std::vector<std::unique_ptr<TTBItemViewer>>& FViewers;
    TTBCustomItem* FChevronItem;
    bool FUsePriorityList;
    const std::vector<TTBItemViewer*>& FPriorityList;
    bool FIsToolbar;
};
