// Decoding against djpeg: every test picture at every scale and setting,
// pixel for pixel.
#include "tests/picture/JPEGTesting.h"

#include <gtest/gtest.h>
#include <fstream>

using namespace jpeg_testing;

namespace {

struct Setting {
    const char* Name;
    bool Gray, EightBit, Fast, Smoothing;
};

// The picture's settings for each setting name of the references.
const Setting Settings[] = {
    {"colour", false, false, false, true},  {"grey", true, false, false, true},
    {"eightbit", false, true, false, true}, {"fast", false, false, true, true},
    {"fasteightbit", false, true, true, true},
};

const Setting* FindSetting(const std::string& name)
{
    for (const Setting& s : Settings)
        if (name == s.Name)
            return &s;
    return nullptr;
}

// Loads, checks the size known before decoding, draws (which decodes) and
// compares the bitmap with djpeg's output.
void CheckCase(const std::string& stem, const Setting& setting, int denom, bool progressively)
{
    SCOPED_TRACE(stem + " " + setting.Name + " 1/" + std::to_string(denom) + (progressively ? " scan by scan" : ""));
    const Pnm expected = ReadPnm(ReferenceFile(stem + "." + setting.Name + "." + std::to_string(denom) + ".pnm"));
    ASSERT_GT(expected.Width, 0);
    TJPEGImage picture;
    picture.SetGrayOutput(setting.Gray);
    picture.SetEightBitOutput(setting.EightBit);
    picture.SetFastDecode(setting.Fast);
    picture.SetBlockSmoothing(setting.Smoothing);
    picture.SetShowScansProgressively(progressively);
    picture.SetScaleShift(denom == 8 ? 3 : denom / 2);
    picture.LoadFromBytes(testing_support::ReadFileBytes(ReferenceFile(stem + ".jpg")));
    EXPECT_EQ(expected.Width, picture.Width());
    EXPECT_EQ(expected.Height, picture.Height());
    EXPECT_EQ(0, picture.DecodeCount());

    BitmapHandle target(CreateBitmap(expected.Width, expected.Height, 1, 32, nullptr));
    MemoryDC dc(nullptr);
    SelectScope selected(dc.Get(), target.Get());
    picture.Draw(dc.Get(), RECT{0, 0, expected.Width, expected.Height});
    ASSERT_NE(nullptr, picture.Bitmap());
    EXPECT_EQ(1, picture.DecodeCount());
    const bool quantized = setting.EightBit || setting.Gray || picture.Grayscale();
    EXPECT_EQ(quantized ? 8 : 24, picture.Bitmap()->BitsPerPixel());
    if (quantized) {
        EXPECT_LE(picture.Bitmap()->ColorCount(), 236);
    }
    EXPECT_EQ("", CompareBitmap(expected, *picture.Bitmap()));
    // What was drawn is the bitmap, pixel for pixel.
    EXPECT_EQ(picture.Bitmap()->Pixel(expected.Width / 2, expected.Height / 2),
              GetPixel(dc.Get(), expected.Width / 2, expected.Height / 2));
}

TEST(JPEGDecode, EqualsDjpegAtEveryScaleAndSetting)
{
    if (ReferenceDir().empty())
        GTEST_SKIP() << "no djpeg references on this build machine";
    std::ifstream cases(ReferenceFile("cases.txt"));
    ASSERT_TRUE(cases.good());
    std::string stem, name;
    int denom = 0, checked = 0;
    while (cases >> stem >> name >> denom) {
        const Setting* setting = FindSetting(name);
        ASSERT_NE(nullptr, setting) << name;
        CheckCase(stem, *setting, denom, false);
        // A picture of several scans shown scan by scan ends as the same picture.
        if (name == "colour" && (stem == "progressive" || stem == "s422" || stem == "cut"))
            CheckCase(stem, *setting, denom, true);
        ++checked;
    }
    EXPECT_GE(checked, 200);
}

// A progressive picture whose later scans are missing decodes without an
// error (libjpeg only warns); smoothing its blocks changes what it shows.
TEST(JPEGDecode, BlockSmoothingShowsInAPictureCutShort)
{
    if (ReferenceDir().empty())
        GTEST_SKIP() << "no djpeg references on this build machine";
    const Pnm smoothed = ReadPnm(ReferenceFile("cut.colour.1.pnm"));
    TJPEGImage picture;
    picture.SetEightBitOutput(false);
    picture.SetBlockSmoothing(false);
    picture.LoadFromBytes(testing_support::ReadFileBytes(ReferenceFile("cut.jpg")));
    EXPECT_TRUE(picture.MultiScan());
    picture.DIBNeeded();
    ASSERT_NE(nullptr, picture.Bitmap());
    EXPECT_NE("", CompareBitmap(smoothed, *picture.Bitmap()));
    picture.SetBlockSmoothing(true);
    picture.DIBNeeded();
    EXPECT_EQ("", CompareBitmap(smoothed, *picture.Bitmap()));
    EXPECT_EQ(2, picture.DecodeCount());
}

} // namespace
