#pragma once
// What the view tests share: rectangles as text, a windowless toolbar view
// that measures with a known font and counts its relayouts, bars made from
// a pattern, and what a button measures with that font.
#include "tests/support/TestSupport.h"
#include "toolbar/items/TBDrawing.h"
#include "toolbar/items/TBToolbar.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace view_testing {

inline std::string RectText(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld %ldx%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    return text;
}
inline RECT R(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

// A toolbar view without a window, measuring with a font of our choosing
// and counting its relayouts.
class CountingView : public TTBView {
public:
    CountingView(TTBCustomItem* root, TFont* font)
        : TTBView(nullptr, nullptr, root, nullptr, true, false, true), FFont(font)
    {
    }
    HFONT GetFont() const override { return FFont->Handle(); }
    int Relayouts = 0;

protected:
    void AutoSize(SIZE) override { ++Relayouts; }

private:
    TFont* FFont;
};

// Items from a pattern: "|" a separator, "_" an empty caption, else a caption.
struct Bar {
    explicit Bar(const std::string& pattern, bool rotated = false)
    {
        if (!rotated)
            Root.SetOptions(OptionBit(tboNoRotation));
        std::istringstream in(pattern);
        std::string token;
        while (in >> token) {
            TTBCustomItem* item = token == "|" ? static_cast<TTBCustomItem*>(new TTBSeparatorItem(nullptr))
                                               : new TTBItem(nullptr);
            if (token != "|")
                item->SetCaption(token == "_" ? "" : token);
            Root.Add(item);
        }
        View = std::make_unique<CountingView>(&Root, &Font);
    }
    // Each viewer's rectangle, "hidden" for those not shown.
    std::vector<std::string> Rects() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < View->ViewerCount(); ++i) {
            TTBItemViewer* v = View->Viewers(i);
            if (v->Item() != &Root)
                out.push_back(v->Show() ? RectText(v->BoundsRect()) : "hidden");
        }
        return out;
    }
    TFont Font;
    TTBRootItem Root{nullptr};
    std::unique_ptr<CountingView> View;
};

// What a button measures with the test font: text width + 12 by height + 6.
struct Metrics {
    Metrics() : DC(Screen.Get()), Select(DC.Get(), Font.Handle())
    {
        TEXTMETRICA tm;
        GetTextMetricsA(DC.Get(), &tm);
        H = tm.tmHeight + 6;
    }
    int W(const std::string& caption) const { return CaptionTextWidth(DC.Get(), caption) + 12; }
    TFont Font;
    WindowDC Screen{nullptr};
    MemoryDC DC;
    SelectScope Select;
    int H = 0;
};


} // namespace view_testing
