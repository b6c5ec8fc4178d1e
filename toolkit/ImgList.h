#pragma once
// An image list: a row of equally sized images (16 x 16 unless told
// otherwise) kept in one colour bitmap with a mask beside it, drawn
// transparently, or embossed for a disabled button. Whoever shows its
// images listens through a change link and hears of every change.
#include "toolkit/Component.h"
#include "toolkit/Events.h"
#include "toolkit/Graphics.h"

#include <windows.h>
#include <cstdint>
#include <functional>
#include <vector>

class TCustomImageList;

// One listener's subscription to an image list, owned by the listener.
// Freeing the link ends the subscription; a list that goes first leaves
// its links without a list.
class TChangeLink {
public:
    TChangeLink() = default;
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;
    virtual ~TChangeLink();

    TCustomImageList* Images() const { return FImages; }
    // Subscribes to that list (nullptr: to none), leaving the one before.
    void SetImages(TCustomImageList* value);
    // Runs OnChange with the list as sender.
    virtual void Change();

    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* FImages = nullptr;
};

class TCustomImageList : public TComponent {
public:
    QV_CLASS(TCustomImageList, TComponent)
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    // A new size empties the list: its images no longer fit the strip.
    int Width() const { return FWidth; }
    void SetWidth(int value) { SetSize(value, FHeight); }
    int Height() const { return FHeight; }
    void SetHeight(int value) { SetSize(FWidth, value); }
    void SetSize(int width, int height);
    int Count() const { return FCount; }

    // Adds the images of a strip: as many as the bitmap's width holds whole
    // images. Non-black pixels of the optional mask are transparent. The
    // caller keeps its bitmaps. Returns the first new index, -1 if none.
    int Add(HBITMAP image, HBITMAP mask = nullptr);
    // The same, with the pixels of one colour transparent.
    int AddMasked(HBITMAP image, TColor transparentColor);
    void Clear();

    // Draws one image with its top-left at (x, y), its transparent pixels
    // leaving the canvas as it was. Disabled: the image's shape embossed,
    // in button highlight one pixel right and down, then in button shadow
    // at its place, like a disabled button's text; light pixels drop out.
    void Draw(HDC canvas, int x, int y, int index, bool enabled = true) const;

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);

    TNotifyEvent OnChange;

protected:
    // Tells every link, then OnChange.
    virtual void Change();

private:
    // Adds the whole images of a bitmap, with the pixels (0x00RRGGBB) the
    // predicate picks transparent.
    int AddStrip(HBITMAP image, const std::function<bool(int x, int y, uint32_t pixel)>& transparent);
    void Rebuild(std::vector<uint32_t> pixels, std::vector<bool> opaque, int count);

    int FWidth = 16;
    int FHeight = 16;
    int FCount = 0;
    // The strip's colours (a DIB section, so its pixels can be read back)
    // and its opaque flags; the mask (white where transparent) and the ink
    // of the disabled look (black where a dark opaque pixel is) are
    // monochrome bitmaps made from them.
    BitmapHandle FImage;
    uint32_t* FBits = nullptr;
    std::vector<bool> FOpaque;
    BitmapHandle FMask;
    BitmapHandle FInk;
    std::vector<TChangeLink*> FLinks;
};
