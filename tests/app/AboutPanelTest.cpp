// The about panel with its picture: read from the program's resources when
// the window is built, decoded the first time the panel is drawn and never
// again, drawn pixel for pixel, centred, and blocking the rest until "OK".
#include "picture/JPEGDecompressor.h"
#include "picture/JPEGImage.h"
#include "tests/app/MainFormFixture.h"
#include "tests/picture/JPEGTesting.h"

#include <gtest/gtest.h>
#include <cstdlib>

using namespace testing_support;

namespace {

class AboutPanel : public MainFormFixture {
protected:
    void BeforeShow() override { Picture = dynamic_cast<TJPEGImage*>(Form->Image1->Picture()); }

    void Open()
    {
        Form->AboutMenuClick(Form->AboutMenu);
        ASSERT_TRUE(WaitFor([&] { return Picture->Bitmap() != nullptr; }));
        UpdateWindow(Form->PanelAbout->Handle());
    }
    void ClickOK()
    {
        RECT ok{0, 0, Form->AboutCloseBtn->Width(), Form->AboutCloseBtn->Height()};
        ClickClient(Form->AboutCloseBtn->Handle(), ok);
        ASSERT_TRUE(WaitFor([&] { return !Form->PanelAbout->Visible(); }));
    }

    TJPEGImage* Picture = nullptr;
};

// The screen's pixels of a rectangle, row by row.
std::vector<COLORREF> ScreenPixels(int left, int top, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    BitmapHandle target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    WindowDC screen(nullptr);
    MemoryDC dc(screen.Get());
    SelectScope selected(dc.Get(), target.Get());
    BitBlt(dc.Get(), 0, 0, width, height, screen.Get(), left, top, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels;
    for (const auto* p = static_cast<const unsigned char*>(bits); pixels.size() < size_t(width * height); p += 4)
        pixels.push_back(RGB(p[2], p[1], p[0]));
    return pixels;
}

TEST_F(AboutPanel, ThePictureIsReadFromTheResourcesButNotDecodedBeforeTheFirstShow)
{
    ASSERT_NE(nullptr, Picture);
    EXPECT_EQ(288, Form->Image1->Width());
    EXPECT_EQ(88, Form->Image1->Height());
    EXPECT_EQ(288, Picture->Width());
    EXPECT_EQ(88, Picture->Height());
    EXPECT_EQ(0, Picture->DecodeCount());
    EXPECT_EQ(nullptr, Picture->Bitmap());
    // The resource holds the committed file, a baseline JFIF 1.02 picture
    // at 100 x 100 without unit, three components sampled 1 x 1.
    const std::string& bytes = Picture->Data()->Bytes();
    EXPECT_EQ(ReadFileBytes(std::string(std::getenv("QV_SOURCE_DIR")) + "\\app\\about.jpg"), bytes);
    EXPECT_EQ(7344u, bytes.size());
    TJPEGDecompressor jpeg(bytes.data(), bytes.size());
    jpeg.ReadHeader();
    const jpeg_decompress_struct& info = jpeg.Info();
    EXPECT_EQ(0, info.progressive_mode);
    EXPECT_EQ((std::vector<int>{1, 2, 100, 100, 0}),
              (std::vector<int>{info.JFIF_major_version, info.JFIF_minor_version, info.X_density, info.Y_density,
                                info.density_unit}));
    ASSERT_EQ(3, info.num_components);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(1, info.comp_info[i].h_samp_factor * info.comp_info[i].v_samp_factor);
}

TEST_F(AboutPanel, OpeningDecodesOnceAndDrawsThePicturePixelForPixel)
{
    Open();
    EXPECT_EQ(1, Picture->DecodeCount());
    POINT origin{10, 10};
    ClientToScreen(Form->PanelAbout->Handle(), &origin);
    const std::vector<COLORREF> shown = ScreenPixels(origin.x, origin.y, 288, 88);
    auto onScreen = [&](int x, int y) { return shown[static_cast<size_t>(y) * 288 + x]; };
    if (jpeg_testing::ReferenceDir().empty())
        GTEST_SKIP() << "no djpeg references on this build machine";
    EXPECT_EQ("", jpeg_testing::Compare(jpeg_testing::ReadPnm(jpeg_testing::ReferenceFile("about.colour.1.pnm")), 288,
                                        88, onScreen));

    ClickOK();
    Open();
    InvalidateRect(Form->PanelAbout->Handle(), nullptr, TRUE);
    UpdateWindow(Form->PanelAbout->Handle());
    EXPECT_EQ(1, Picture->DecodeCount());
    EXPECT_TRUE(Errors.Messages().empty());
}

TEST_F(AboutPanel, OKGivesTheKeyboardBackToTheShownPage)
{
    Form->SelectPage(3);
    Open();
    ClickOK();
    EXPECT_EQ(Form->Memo[2]->Handle(), GetFocus());
    TypeText("after");
    ASSERT_TRUE(WaitFor([&] { return Form->Memo[2]->GetText() == "after"; }));
}

TEST_F(AboutPanel, TheSettingsFieldsAreBlockedWhileItIsOpen)
{
    Form->SettingsClick(Form->Settings);
    Open();
    RECT field{0, 0, Form->Name[2]->Width(), Form->Name[2]->Height()};
    ClickClient(Form->Name[2]->Handle(), field);
    TypeText("x");
    Pump(100);
    EXPECT_EQ("3", Form->Name[2]->GetText());
    EXPECT_EQ("3", Form->Page[2]->Caption());

    ClickOK();
    EXPECT_TRUE(Form->PagePanel->Visible());
    ClickClient(Form->Name[2]->Handle(), field);
    PressKey(VK_END);
    TypeText("x");
    ASSERT_TRUE(WaitFor([&] { return Form->Page[2]->Caption() == "3x"; }));
}

// Centred in the client area as it is when the panel opens, each half
// rounded toward zero (also when the client area is smaller than the panel).
TEST_F(AboutPanel, OpensCentredInTheClientArea)
{
    Form->FormStorage1->MinMaxInfo()->SetMinTrackWidth(0);
    Form->FormStorage1->MinMaxInfo()->SetMinTrackHeight(0);
    struct Case {
        int ClientWidth, ClientHeight, Left, Top;
    };
    for (Case c : {Case{592, 441, 141, 120}, Case{700, 500, 195, 150}, Case{592, 150, 141, -25}, Case{592, 199, 141, 0}}) {
        Form->SetClientWidth(c.ClientWidth);
        Form->SetClientHeight(c.ClientHeight);
        ASSERT_EQ(c.ClientWidth, Form->ClientWidth());
        ASSERT_EQ(c.ClientHeight, Form->ClientHeight());
        Form->AboutMenuClick(Form->AboutMenu);
        EXPECT_EQ(c.Left, Form->PanelAbout->Left()) << c.ClientWidth << "x" << c.ClientHeight;
        EXPECT_EQ(c.Top, Form->PanelAbout->Top()) << c.ClientWidth << "x" << c.ClientHeight;
        Form->AboutCloseBtnClick(Form->AboutCloseBtn);
    }
}

} // namespace
