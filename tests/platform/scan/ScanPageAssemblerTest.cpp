#include "core/AppError.h"
#include "platform/scan/ScanPageAssembler.h"

#include <gtest/gtest.h>

#include <QRgba64>
#include <cstring>
#include <vector>

using namespace picbasket;

namespace {

using Bytes = std::vector<unsigned char>;

ScanFrameFormat frame(ScanFrameFormat::Kind kind, int depth, int ppl, int bpl, int lines,
                      bool last = true) {
    ScanFrameFormat f;
    f.kind = kind;
    f.depth = depth;
    f.pixelsPerLine = ppl;
    f.bytesPerLine = bpl;
    f.lines = lines;
    f.lastFrame = last;
    return f;
}

void feed(ScanPageAssembler& a, const ScanFrameFormat& f, const Bytes& data, size_t chunk = 3) {
    a.beginFrame(f);
    for (size_t i = 0; i < data.size(); i += chunk)
        a.addData(data.data() + i, std::min(chunk, data.size() - i));
    a.endFrame();
}

Bytes words(const std::vector<uint16_t>& values) {
    Bytes out(values.size() * 2);
    std::memcpy(out.data(), values.data(), out.size());
    return out;
}

// One row per frame layout: the frame's bytes and the colours of its two lines of
// three pixels (grey values in all three channels), as 16 bits.
struct LayoutCase {
    const char* name;
    ScanFrameFormat::Kind kind;
    int depth;
    int bytesPerLine;
    Bytes data;
    QImage::Format format;
    std::vector<std::array<uint16_t, 3>> pixels;
};

std::array<uint16_t, 3> colourAt(const QImage& image, int x, int y) {
    const QRgba64 c = image.pixelColor(x, y).rgba64();
    return {c.red(), c.green(), c.blue()};
}

} // namespace

TEST(ScanPageAssembler, EachFrameLayoutGivesTheBoxFormatAndItsValues) {
    const uint16_t W = 0xFFFF;
    // Padding bytes at the end of each line (bytes per line above the need) are skipped.
    const std::vector<LayoutCase> cases{
        {"grey 1 bit, a set bit is black", ScanFrameFormat::Grey, 1, 2,
         Bytes{0b10100000, 0xEE, 0b01000000, 0xEE}, QImage::Format_Mono,
         {{0, 0, 0}, {W, W, W}, {0, 0, 0}, {W, W, W}, {0, 0, 0}, {W, W, W}}},
        {"grey 8 bits", ScanFrameFormat::Grey, 8, 4, Bytes{0, 128, 255, 9, 1, 2, 3, 9},
         QImage::Format_Grayscale8,
         {{0, 0, 0}, {128 * 257, 128 * 257, 128 * 257}, {W, W, W}, {257, 257, 257},
          {514, 514, 514}, {771, 771, 771}}},
        {"grey 16 bits in host order", ScanFrameFormat::Grey, 16, 6,
         words({0, 0x1234, W, 1, 2, 0x8000}), QImage::Format_Grayscale16,
         {{0, 0, 0}, {0x1234, 0x1234, 0x1234}, {W, W, W}, {1, 1, 1}, {2, 2, 2},
          {0x8000, 0x8000, 0x8000}}},
        {"colour 1 bit, a set bit is full", ScanFrameFormat::Rgb, 1, 2,
         Bytes{0b10001011, 0b10000000, 0b01010011, 0b10000000}, QImage::Format_RGB888,
         {{W, 0, 0}, {0, W, 0}, {W, W, W}, {0, W, 0}, {W, 0, 0}, {W, W, W}}},
        {"colour 8 bits", ScanFrameFormat::Rgb, 8, 9,
         Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 4, 5, 6, 7, 8, 9}, QImage::Format_RGB888,
         {{W, 0, 0}, {0, W, 0}, {0, 0, W}, {257, 514, 771}, {1028, 1285, 1542},
          {1799, 2056, 2313}}},
        {"colour 16 bits", ScanFrameFormat::Rgb, 16, 18,
         words({W, 0, 0, 0, W, 0, 0, 0, W, 1, 2, 3, 0x100, 0x200, 0x300, 7, 8, 9}),
         QImage::Format_RGBX64,
         {{W, 0, 0}, {0, W, 0}, {0, 0, W}, {1, 2, 3}, {0x100, 0x200, 0x300}, {7, 8, 9}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScanPageAssembler a;
        feed(a, frame(c.kind, c.depth, 3, c.bytesPerLine, 2), c.data);
        ASSERT_TRUE(a.complete());
        const QImage page = a.page();
        ASSERT_EQ(page.format(), c.format);
        ASSERT_EQ(page.size(), QSize(3, 2));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(colourAt(page, i % 3, i / 3), c.pixels[size_t(i)]) << "pixel " << i;
    }
}

TEST(ScanPageAssembler, ThreeBandsInAnyOrderEqualTheInterleavedFrame) {
    const Bytes red{10, 20, 30, 40}, green{50, 60, 70, 80}, blue{90, 100, 110, 120};
    ScanPageAssembler bands;
    feed(bands, frame(ScanFrameFormat::Blue, 8, 2, 2, 2, false), blue);
    ASSERT_FALSE(bands.complete());
    feed(bands, frame(ScanFrameFormat::Red, 8, 2, 2, 2, false), red);
    feed(bands, frame(ScanFrameFormat::Green, 8, 2, 2, 2, true), green);
    ASSERT_TRUE(bands.complete());

    Bytes interleaved;
    for (size_t i = 0; i < 4; ++i)
        interleaved.insert(interleaved.end(), {red[i], green[i], blue[i]});
    ScanPageAssembler one;
    feed(one, frame(ScanFrameFormat::Rgb, 8, 2, 6, 2), interleaved);
    EXPECT_EQ(bands.page(), one.page());
}

TEST(ScanPageAssembler, UnknownHeightGrowsToTheDataAndShortFramesKeepWholeLines) {
    ScanPageAssembler grown;
    feed(grown, frame(ScanFrameFormat::Grey, 8, 4, 4, -1), Bytes(4 * 37, 7), 5);
    EXPECT_EQ(grown.page().size(), QSize(4, 37));

    // Announced 10 lines, sent two and a half: the whole two are the page.
    ScanPageAssembler shortFrame;
    feed(shortFrame, frame(ScanFrameFormat::Grey, 8, 4, 4, 10), Bytes(10, 7));
    EXPECT_EQ(shortFrame.page().size(), QSize(4, 2));
}

TEST(ScanPageAssembler, ResetStartsANewPage) {
    ScanPageAssembler a;
    feed(a, frame(ScanFrameFormat::Grey, 8, 1, 1, 1), Bytes{1});
    a.reset();
    EXPECT_FALSE(a.complete());
    feed(a, frame(ScanFrameFormat::Grey, 8, 2, 2, 1), Bytes{1, 2});
    EXPECT_EQ(a.page().size(), QSize(2, 1));
}

TEST(ScanPageAssemblerCorrupt, LayoutsItCannotTakeRaiseAndNameTheFault) {
    using K = ScanFrameFormat::Kind;
    struct Case {
        const char* name;
        std::function<void(ScanPageAssembler&)> steps;
    };
    const std::vector<Case> cases{
        {"4 bits per sample", [](auto& a) { a.beginFrame(frame(K::Grey, 4, 2, 1, 1)); }},
        {"no pixels per line", [](auto& a) { a.beginFrame(frame(K::Grey, 8, 0, 1, 1)); }},
        {"absurd pixels per line", [](auto& a) { a.beginFrame(frame(K::Grey, 8, 1 << 30, 1 << 30, 1)); }},
        {"line bytes below the pixels", [](auto& a) { a.beginFrame(frame(K::Rgb, 8, 4, 11, 1)); }},
        {"zero lines", [](auto& a) { a.beginFrame(frame(K::Grey, 8, 4, 4, 0)); }},
        {"a page over the limit", [](auto& a) { a.beginFrame(frame(K::Grey, 8, 200000, 200000, 20000)); }},
        {"more data than the frame holds",
         [](auto& a) {
             a.beginFrame(frame(K::Grey, 8, 2, 2, 1));
             const Bytes b{1, 2, 3};
             a.addData(b.data(), b.size());
         }},
        {"data outside a frame",
         [](auto& a) {
             const Bytes b{1};
             a.addData(b.data(), 1);
         }},
        {"an empty frame",
         [](auto& a) {
             a.beginFrame(frame(K::Grey, 8, 2, 2, -1));
             a.endFrame();
         }},
        {"the same band twice",
         [](auto& a) {
             feed(a, frame(K::Red, 8, 1, 1, 1, false), Bytes{1});
             a.beginFrame(frame(K::Red, 8, 1, 1, 1, false));
         }},
        {"bands of different widths",
         [](auto& a) {
             feed(a, frame(K::Red, 8, 1, 1, 1, false), Bytes{1});
             a.beginFrame(frame(K::Green, 8, 2, 2, 1, false));
         }},
        {"a last band before the others",
         [](auto& a) { feed(a, frame(K::Blue, 8, 1, 1, 1, true), Bytes{1}); }},
        {"a frame after the page", [](auto& a) {
             feed(a, frame(K::Grey, 8, 1, 1, 1), Bytes{1});
             a.beginFrame(frame(K::Grey, 8, 1, 1, 1));
         }},
        {"an unfinished page", [](auto& a) { a.page(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScanPageAssembler a;
        try {
            c.steps(a);
            ADD_FAILURE() << "no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::Unexpected);
            EXPECT_TRUE(e.description().startsWith("The scanner sent a page that cannot be read"))
                << e.description().toStdString();
        }
    }
}
