#include "ImageBoxTestImages.h"

#include <FreeImage.h>

namespace picbasket::test::imagebox {
namespace {

struct Snapshot {
    const char* name;
    std::function<QImage()> make;
};

void PrintTo(const Snapshot& row, std::ostream* os) {
    *os << row.name;
}

class ImageBoxSnapshot : public ::testing::TestWithParam<Snapshot> {};

QImage withResolution(QImage image) {
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(5906);
    return image;
}

TEST_P(ImageBoxSnapshot, RestoresEverythingExactly) {
    const QImage original = withResolution(GetParam().make());
    ImageBox box;
    box.setImage(original);
    // The save options must not reach the snapshot.
    box.setColorFormat(6);
    box.setTiffCompression(2);
    const QByteArray data = box.SaveToMemory(ImageBox::FormatTiff);

    ImageBox restored;
    restored.setImage(colourImage());
    restored.LoadFromMemory(ImageBox::FormatTiff, data);
    const QImage& back = restored.image();
    EXPECT_EQ(back.format(), original.format());
    EXPECT_EQ(back.colorTable(), original.colorTable());
    EXPECT_EQ(back.dotsPerMeterX(), original.dotsPerMeterX());
    EXPECT_EQ(back.dotsPerMeterY(), original.dotsPerMeterY());
    EXPECT_EQ(back, original);
    EXPECT_EQ(restored.BitsPerPixel(), box.BitsPerPixel());
}

QImage monoWithColours() {
    QImage image = monoImage();
    image.setColorTable({qRgb(200, 0, 0), qRgba(0, 0, 200, 0)});
    return image;
}

QImage rgbx64Image() {
    return rgba64Image().convertToFormat(QImage::Format_RGBX64);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ImageBoxSnapshot,
    ::testing::Values(Snapshot{"colour", [] { return colourImage(); }},
                      Snapshot{"alpha", [] { return alphaImage(); }},
                      Snapshot{"palette_of_five", [] { return paletteImage(); }},
                      Snapshot{"palette_with_transparent_entry",
                               [] { return paletteImage(21, 11, true); }},
                      Snapshot{"mono_black_white", [] { return monoImage(); }},
                      Snapshot{"mono_white_black",
                               [] {
                                   QImage image = monoImage();
                                   image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
                                   return image;
                               }},
                      Snapshot{"mono_coloured", [] { return monoWithColours(); }},
                      Snapshot{"grey8", [] { return greyImage(); }},
                      Snapshot{"grey16", [] { return grey16Image(); }},
                      Snapshot{"rgba64", [] { return rgba64Image(); }},
                      Snapshot{"rgbx64", [] { return rgbx64Image(); }},
                      Snapshot{"one_pixel", [] { return colourImage(1, 1); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageBoxMemory, EmptyOrInvalidDataRaisesAndKeepsTheImage) {
    ImageBox box;
    box.setImage(paletteImage());
    for (const QByteArray& data : {QByteArray(), QByteArray("II*\0", 4), QByteArray(300, 'x')}) {
        EXPECT_EQ(raisedNumber([&] { box.LoadFromMemory(ImageBox::FormatTiff, data); }),
                  err::Unexpected);
        EXPECT_EQ(box.image(), paletteImage());
    }
}

TEST(ImageBoxMemory, SnapshotOfAnEmptyBoxRaises) {
    ImageBox box;
    EXPECT_EQ(raisedNumber([&] { box.SaveToMemory(ImageBox::FormatTiff); }), err::Unexpected);
}

TEST(ImageBoxMemory, FormatCodesOutsideTheTableRaise) {
    ImageBox box;
    box.setImage(colourImage());
    EXPECT_EQ(raisedNumber([&] { box.SaveToMemory(9); }), err::InvalidProcedureCall);
    EXPECT_EQ(raisedNumber([&] { box.EncodedSize(-1); }), err::InvalidProcedureCall);
}

TEST(ImageBoxMemory, OtherFormatCodesRoundTripThroughTheirEncoding) {
    ImageBox box;
    box.setImage(colourImage());
    for (int code : {ImageBox::FormatBmp, ImageBox::FormatPng, ImageBox::FormatPsd}) {
        const QByteArray data = box.SaveToMemory(code);
        EXPECT_EQ(data.size(), box.EncodedSize(code));
        ImageBox other;
        other.LoadFromMemory(code, data);
        EXPECT_EQ(differingPixels(other.image(), colourImage()), 0) << code;
    }
}

TEST(ImageBoxMemory, ForeignTiffDataStillLoads) {
    // An LZW TIFF from FreeImage is no snapshot of ours; it is decoded all the same.
    FIBITMAP* dib = FreeImage_Allocate(5, 4, 24);
    for (unsigned y = 0; y < 4; ++y)
        for (unsigned x = 0; x < 5; ++x) {
            RGBQUAD c{BYTE(x * 50), BYTE(y * 60), 7, 0};
            FreeImage_SetPixelColor(dib, x, y, &c);
        }
    FIMEMORY* memory = FreeImage_OpenMemory();
    ASSERT_TRUE(FreeImage_SaveToMemory(FIF_TIFF, dib, memory, TIFF_LZW));
    BYTE* bytes = nullptr;
    DWORD size = 0;
    FreeImage_AcquireMemory(memory, &bytes, &size);
    const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
    FreeImage_CloseMemory(memory);
    FreeImage_Unload(dib);

    ImageBox box;
    box.LoadFromMemory(ImageBox::FormatTiff, data);
    ASSERT_EQ(box.ImageWidth(), 5);
    // FreeImage rows run bottom-up: its row 0 is the image's last row.
    EXPECT_EQ(box.image().pixel(4, 3), qRgb(7, 0, 200));
    EXPECT_EQ(box.image().pixel(2, 0), qRgb(7, 180, 100));
}

} // namespace
} // namespace picbasket::test::imagebox
