#pragma once
// The placing of measured items in rows (or columns) with wrapping: the
// arithmetic of a view's layout, apart from windows and fonts. Items are
// given in order with their sizes; out come their rectangles, the total
// size of all rows and the size of one unwrapped row.
#include "toolbar/items/TBView.h"

#include <vector>

class TTBViewLayout {
public:
    struct Entry {
        SIZE Size{0, 0};
        bool Separator = false;
        bool NoLineBreak = false;
        bool AlignRight = false;
        // Hidden for lack of room: counts in the base size, takes no place.
        bool OffEdge = false;
        // The chevron: at the end of the shrunk length, across the row.
        bool Chevron = false;
    };
    struct Placed {
        RECT Rect{0, 0, 0, 0};
        bool LineSeparator = false;
    };

    // chevronOffset: the shrunk length a chevron ends at (0: no chevron).
    TTBViewLayout(TTBViewOrientation orientation, int wrapOffset, bool isToolbar, int chevronOffset = 0);

    // startTotal: the least total size (a toolbar's dock row, its full length).
    void Run(const std::vector<Entry>& entries, SIZE startTotal);

    const std::vector<Placed>& Placements() const { return FPlaced; }
    SIZE TotalSize() const { return FTotal; }
    SIZE BaseSize() const { return FBase; }
    int RowCount() const { return FRows; }

    // The row break a separator becomes, and the room between rows it takes.
    static constexpr int LineSeparatorThickness = 6;
    // The size an empty view reports.
    static constexpr SIZE EmptySize{23, 22};

private:
    // Main axis = along the rows; cross axis = across them. Horizontal and
    // floating views run their rows along x, vertical views along y.
    int Main(SIZE s) const { return FVertical ? s.cy : s.cx; }
    int Cross(SIZE s) const { return FVertical ? s.cx : s.cy; }
    // Across its row a chevron is as thick as the thickest item, shown or not.
    int CrossOf(const Entry& e) const { return e.Chevron ? FBaseCross : Cross(e.Size); }
    bool RowBreakAt(size_t k, int end) const;
    void FinishRow(size_t first, size_t end, int rowCross, int thickness, bool lastRow);
    void ToWindowSpace();

    TTBViewOrientation FOrientation;
    bool FVertical;
    int FWrapOffset;
    bool FIsToolbar;
    int FChevronEnd;
    int FBaseCross = 0;
    const std::vector<Entry>* FEntries = nullptr;
    std::vector<Placed> FPlaced; // in layout space (x main, y cross) until the end
    int FMainStart = 0, FCrossStart = 0, FMainEnd = 0, FCrossEnd = 0;
    int FTotalMain = 0, FTotalCross = 0;
    bool FAnyWrapped = false;
    bool FWrappedSinceBreak = false;
    SIZE FTotal{0, 0};
    SIZE FBase{0, 0};
    int FRows = 0;
};
