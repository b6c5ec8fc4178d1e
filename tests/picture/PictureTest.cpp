// The JPEG picture as the rest of the program meets it: the stored form a
// layout holds, the registry of picture kinds, shared encoded data, the size
// known from the header alone, and the picture widget that sizes itself.
#include "picture/PictureKinds.h"
#include "tests/picture/JPEGTesting.h"
#include "tests/picture/TestEncoder.h"
#include "toolkit/Forms.h"
#include "toolkit/Streams.h"

#include <gtest/gtest.h>
#include <functional>

using namespace jpeg_testing;
using namespace testing_support;

namespace {

std::string StoredPicture(const std::string& className, const std::string& jpeg)
{
    const auto n = static_cast<uint32_t>(jpeg.size());
    return std::string(1, static_cast<char>(className.size())) + className + static_cast<char>(n) +
           static_cast<char>(n >> 8) + static_cast<char>(n >> 16) + static_cast<char>(n >> 24) + jpeg;
}

// The message of what a call raised, "" when it raised nothing.
std::string MessageOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST(JPEGPicture, LoadsFromTheStoredFormFindingItsKindAndReadingOnlyTheHeader)
{
    for (const char* extension : {"jpeg", "JPG", ".jpg"})
        EXPECT_EQ("JPEG Image File", FindPictureKindByExtension(extension)->Description) << extension;
    const std::string jpeg = EncodePattern({.Width = 57, .Height = 31, .Progressive = true});
    // Bytes after the picture belong to whatever the layout stores next.
    TMemoryStream stream(StoredPicture("TJPEGImage", jpeg) + "next");
    std::unique_ptr<TGraphic> graphic = ReadStoredPicture(stream);
    auto* picture = dynamic_cast<TJPEGImage*>(graphic.get());
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(stream.Size() - 4, stream.Position());
    EXPECT_EQ(jpeg, picture->Data()->Bytes());
    EXPECT_EQ(std::make_pair(57, 31), std::make_pair(picture->Width(), picture->Height()));
    EXPECT_TRUE(picture->MultiScan());
    EXPECT_FALSE(picture->Grayscale());
    // Scaled sizes are libjpeg's, rounded up, still without decoding.
    picture->SetScaleShift(2);
    EXPECT_EQ(std::make_pair(15, 8), std::make_pair(picture->Width(), picture->Height()));
    EXPECT_EQ(0, picture->DecodeCount());
    EXPECT_EQ("Cannot change the size of a JPEG image", MessageOf([&] { picture->SetWidth(10); }));
    EXPECT_EQ("Cannot change the size of a JPEG image", MessageOf([&] { picture->SetHeight(10); }));

    TJPEGImage grey;
    TMemoryStream file(EncodePattern({.Grey = true}));
    grey.LoadFromStream(file);
    EXPECT_TRUE(grey.Grayscale());
    EXPECT_FALSE(grey.MultiScan());
}

TEST(JPEGPicture, StoredFormsThatCannotBeRead)
{
    const std::string jpeg = EncodePattern({});
    TMemoryStream unknown(StoredPicture("TGIFImage", jpeg));
    EXPECT_EQ("Class TGIFImage not found", MessageOf([&] { ReadStoredPicture(unknown); }));
    const std::string whole = StoredPicture("TJPEGImage", jpeg);
    for (size_t cut : {size_t{5}, size_t{13}, whole.size() - 1}) {
        TMemoryStream shortStream(whole.substr(0, cut));
        EXPECT_THROW(ReadStoredPicture(shortStream), EReadError) << cut;
    }
}

TEST(JPEGPicture, CopiesShareTheEncodedImageUntilOneLoadsAnother)
{
    TJPEGImage first;
    first.LoadFromBytes(EncodePattern({}));
    first.SetGrayOutput(true);
    std::weak_ptr<TJPEGData> shared = first.Data();
    {
        TJPEGImage copy;
        copy.Assign(&first);
        EXPECT_EQ(2, shared.use_count());
        EXPECT_TRUE(copy.GrayOutput());
        first.LoadFromBytes(EncodePattern({.Width = 8, .Height = 8}));
        EXPECT_EQ(1, shared.use_count());
        EXPECT_EQ(40, copy.Width());
    }
    EXPECT_TRUE(shared.expired()); // the last picture let go of it
}

// Bitmap blits a drawing makes, counted in an enhanced metafile.
int BlitsOfFirstDraw(TJPEGImage& picture)
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    picture.Draw(dc, RECT{0, 0, picture.Width(), picture.Height()});
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    int blits = 0;
    EnumEnhMetaFile(
        nullptr, metafile,
        [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM count) -> int {
            if (record->iType == EMR_BITBLT || record->iType == EMR_STRETCHBLT)
                ++*reinterpret_cast<int*>(count);
            return 1;
        },
        &blits, nullptr);
    DeleteEnhMetaFile(metafile);
    return blits;
}

// Shown scan by scan, a picture of several scans is drawn after each scan
// (simple progression: 10 scans for colour) and once more when finished.
TEST(JPEGPicture, ScansAreShownAsTheyArriveOnlyWhenAskedAndPossible)
{
    struct Case {
        bool Progressive, ShowScans;
        int Blits;
    };
    for (Case c : {Case{true, true, 11}, Case{true, false, 1}, Case{false, true, 1}}) {
        TJPEGImage picture;
        picture.SetShowScansProgressively(c.ShowScans);
        picture.LoadFromBytes(EncodePattern({.Progressive = c.Progressive}));
        EXPECT_EQ(c.Blits, BlitsOfFirstDraw(picture)) << c.Progressive << c.ShowScans;
        EXPECT_EQ(1, picture.DecodeCount());
    }
}

// The picture widget takes the picture's size from its header and follows
// it when new data or a scale comes; drawing decodes once, at the first
// paint, and the widget shows the bitmap.
TEST(JPEGPicture, ThePictureWidgetSizesItselfAndDecodesOnceWhenPainted)
{
    ErrorCatcher errors;
    TForm form(Application);
    auto owned = std::make_unique<TJPEGImage>();
    TJPEGImage* picture = owned.get();
    picture->SetEightBitOutput(false);
    picture->LoadFromBytes(EncodePattern({.Width = 100, .Height = 60}));
    TImage* image = PlaceImage(form, RECT{10, 12, 11, 13}, std::move(owned), true);
    EXPECT_EQ(100, image->Width());
    EXPECT_EQ(60, image->Height());
    picture->SetScaleShift(1);
    EXPECT_EQ(50, image->Width());
    EXPECT_EQ(30, image->Height());
    EXPECT_EQ(0, picture->DecodeCount());

    form.ShowForm();
    Activate(form.Handle());
    ASSERT_TRUE(WaitFor([&] { return picture->DecodeCount() == 1; }));
    Pump(50);
    InvalidateRect(form.Handle(), nullptr, TRUE);
    UpdateWindow(form.Handle());
    EXPECT_EQ(1, picture->DecodeCount());
    POINT centre{10 + 25, 12 + 15};
    ClientToScreen(form.Handle(), &centre);
    EXPECT_EQ(picture->Bitmap()->Pixel(25, 15), ScreenPixel(centre.x, centre.y));
    EXPECT_TRUE(errors.Messages().empty());
}

} // namespace
