// Damaged, truncated and mutated JPEG files: libjpeg's error code comes out
// as EJPEG at load (the header) or at the first draw (the body), the error
// box shows it once, and nothing crashes, hangs or leaks a GDI object.
#include "picture/JPEGDecompressor.h"
#include "tests/picture/JPEGTesting.h"
#include "tests/picture/TestEncoder.h"
#include "toolkit/Forms.h"

#include <gtest/gtest.h>
#include <jerror.h>
#include <functional>
#include <random>

using namespace jpeg_testing;
using namespace testing_support;

namespace {

// The JPEG error code a call raised, 0 when it raised none.
int ErrorCode(const std::function<void()>& call)
{
    try {
        call();
    } catch (const EJPEG& e) {
        EXPECT_EQ("JPEG error #" + std::to_string(e.Code()), e.Message());
        return e.Code();
    }
    return 0;
}

std::string Baseline() { return EncodePattern({}); }
std::string Progressive() { return EncodePattern({.Progressive = true}); }

// The byte after the n-th marker of a kind (its length field's first byte).
size_t AfterMarker(const std::string& jpeg, unsigned char code, size_t n)
{
    return MarkerOffsets(jpeg, code).at(n) + 2;
}

struct Damage {
    const char* What;
    std::function<std::string()> Make;
    int LoadCode; // at load, from the header
    int DrawCode; // at the first draw, from the body (when the load went well)
};

std::string Edited(std::string jpeg, size_t at, unsigned char value)
{
    jpeg.at(at) = static_cast<char>(value);
    return jpeg;
}

const Damage Damages[] = {
    {"not a JPEG file", [] { return std::string("GIF89a, not a JPEG file at all"); }, JERR_NO_SOI, 0},
    {"only the start marker", [] { return std::string("\xFF\xD8", 2); }, JERR_NO_IMAGE, 0},
    {"cut before the first scan",
     [] { std::string j = Baseline(); return j.substr(0, MarkerOffsets(j, 0xDA).at(0)); }, JERR_SOF_NO_SOS, 0},
    {"12 bits per sample", [] { std::string j = Baseline(); return Edited(j, AfterMarker(j, 0xC0, 0) + 2, 12); },
     JERR_BAD_PRECISION, 0},
    {"no width", [] { std::string j = Baseline();
         j = Edited(j, AfterMarker(j, 0xC0, 0) + 5, 0); return Edited(j, AfterMarker(j, 0xC0, 0) + 6, 0); },
     JERR_EMPTY_IMAGE, 0},
    {"sampling factor 5", [] { std::string j = Baseline(); return Edited(j, AfterMarker(j, 0xC0, 0) + 9, 0x51); },
     JERR_BAD_SAMPLING, 0},
    {"second scan names no component",
     [] { std::string j = Progressive(); return Edited(j, AfterMarker(j, 0xDA, 1) + 3, 9); }, 0,
     JERR_BAD_COMPONENT_ID},
    {"second frame header in the body",
     [] { std::string j = Progressive(); return Edited(j, MarkerOffsets(j, 0xDA).at(1) + 1, 0xC2); }, 0,
     JERR_SOF_DUPLICATE},
    {"cut inside a Huffman table between scans",
     [] { std::string j = Progressive(); return j.substr(0, AfterMarker(j, 0xC4, 3) + 4); }, 0,
     JERR_BAD_HUFF_TABLE},
    {"cut inside the first scan's data (libjpeg only warns)",
     [] { std::string j = Baseline(); return j.substr(0, j.size() * 3 / 4); }, 0, 0},
};

TEST(JPEGBadInput, DamagedFilesRaiseLibjpegsCodeAtLoadOrAtDraw)
{
    const long gdiBefore = LiveGdiObjects();
    for (const Damage& d : Damages) {
        SCOPED_TRACE(d.What);
        const std::string bytes = d.Make();
        TJPEGImage picture;
        EXPECT_EQ(d.LoadCode, ErrorCode([&] { picture.LoadFromBytes(bytes); }));
        EXPECT_EQ(0, picture.DecodeCount()); // the header alone was read
        MemoryDC dc(nullptr);
        const int drawCode = ErrorCode([&] { picture.Draw(dc.Get(), RECT{0, 0, 40, 24}); });
        if (d.LoadCode == 0) {
            EXPECT_EQ(d.DrawCode, drawCode);
            EXPECT_EQ(d.DrawCode == 0, picture.Bitmap() != nullptr);
        } else {
            EXPECT_EQ(0, drawCode); // a picture whose header failed is not drawn
        }
        // A failed picture is not decoded (nor reported) again at every repaint.
        EXPECT_EQ(0, ErrorCode([&] { picture.Draw(dc.Get(), RECT{0, 0, 40, 24}); }));
        EXPECT_LE(picture.DecodeCount(), 1);
    }
    EXPECT_EQ(gdiBefore, LiveGdiObjects());
}

TEST(JPEGBadInput, TheErrorBoxShowsADecodingErrorOnce)
{
    ErrorCatcher errors;
    TForm form(Application);
    auto picture = std::make_unique<TJPEGImage>();
    std::string j = Progressive();
    picture->LoadFromBytes(Edited(j, AfterMarker(j, 0xDA, 1) + 3, 9));
    PlaceImage(form, RECT{8, 8, 48, 32}, std::move(picture));
    form.ShowForm();
    ASSERT_TRUE(WaitFor([&] { return !errors.Messages().empty(); }));
    EXPECT_EQ(std::vector<std::string>{"JPEG error #" + std::to_string(JERR_BAD_COMPONENT_ID) + "."},
              errors.Messages());
    // Repainting does not bring the box back.
    InvalidateRect(form.Handle(), nullptr, TRUE);
    UpdateWindow(form.Handle());
    Pump(50);
    EXPECT_EQ(1u, errors.Messages().size());
}

// Mutations of small valid files, each loaded and drawn with the settings
// taking turns. Reproducible: the seed is fixed and each case is numbered.
TEST(JPEGBadInput, TenThousandMutatedFilesNeitherCrashNorLeak)
{
    const std::vector<std::string> seeds = {
        Baseline(), Progressive(), EncodePattern({.Width = 24, .Height = 16, .Progressive = true, .Grey = true}),
        EncodePattern({.Width = 33, .Height = 17, .RestartRows = 1}),
        ReadFileBytes(std::string(std::getenv("QV_SOURCE_DIR")) + "\\app\\about.jpg")};
    std::mt19937 random(20261209);
    auto below = [&](size_t n) { return n ? static_cast<size_t>(random() % n) : 0; };
    const long gdiBefore = LiveGdiObjects();
    int loadErrors = 0, drawErrors = 0, drawn = 0;
    MemoryDC dc(nullptr);
    for (int i = 0; i < 10000; ++i) {
        std::string bytes = seeds[static_cast<size_t>(i) % seeds.size()];
        for (size_t edits = 1 + below(4); edits > 0; --edits) {
            switch (below(5)) {
            case 0: bytes[below(bytes.size())] ^= static_cast<char>(1 << below(8)); break;
            case 1: bytes[below(bytes.size())] = static_cast<char>(random()); break;
            case 2: bytes[below(bytes.size())] = '\xFF'; break;
            case 3: bytes.resize(below(bytes.size()) + 1); break;
            default: {
                size_t from = below(bytes.size()), length = below(64);
                bytes.insert(below(bytes.size()), bytes.substr(from, length));
            }
            }
        }
        SCOPED_TRACE("case " + std::to_string(i));
        TJPEGImage picture;
        picture.SetScaleShift(i % 4);
        picture.SetEightBitOutput((i / 4) % 2 == 1);
        picture.SetShowScansProgressively((i / 8) % 2 == 1);
        picture.SetGrayOutput((i / 16) % 3 == 1);
        picture.SetFastDecode((i / 48) % 2 == 1);
        try {
            picture.LoadFromBytes(bytes);
        } catch (const EJPEG&) {
            ++loadErrors;
            continue;
        }
        // A damaged header may claim a huge picture: decoding it would be
        // slow, not wrong, so only the header is looked at then.
        if (static_cast<long long>(picture.Width()) * picture.Height() > (1 << 20))
            continue;
        try {
            picture.Draw(dc.Get(), RECT{0, 0, 16, 16});
            ++drawn;
        } catch (const EJPEG&) {
            ++drawErrors;
        } catch (const EOutOfResources&) {
            ++drawErrors;
        }
    }
    EXPECT_EQ(gdiBefore, LiveGdiObjects());
    // The mutations reach every stage.
    EXPECT_GT(loadErrors, 100);
    EXPECT_GT(drawErrors, 100);
    EXPECT_GT(drawn, 1000);
    std::printf("mutated files: %d failed at load, %d at draw, %d drawn\n", loadErrors, drawErrors, drawn);
}

} // namespace
