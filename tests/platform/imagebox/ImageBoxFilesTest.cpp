#include "ImageBoxTestImages.h"
#include "tests/common/TestSupport.h"

#include <FreeImage.h>
#include <QDir>
#include <cstdio>
#include <jpeglib.h>
#include <tiffio.h>

namespace picbasket::test::imagebox {
namespace {

struct RoundTrip {
    const char* name;
    std::function<QImage()> make;
    const char* extension;
    int colorFormat;
    int expectedBits;
    int tolerance;
};

void PrintTo(const RoundTrip& row, std::ostream* os) {
    *os << row.name;
}

class ImageBoxRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ImageBoxRoundTrip, ReadsBackWhatItWrote) {
    const RoundTrip& row = GetParam();
    TempAppFolder folder;
    const QString path = folder.file(QString("page.") + row.extension);
    ImageBox writer;
    writer.setImage(row.make());
    writer.setColorFormat(row.colorFormat);
    writer.SaveToFile(path);

    ImageBox reader;
    reader.LoadFromFile(path);
    EXPECT_FALSE(reader.LoadedFlag());
    EXPECT_EQ(reader.BitsPerPixel(), row.expectedBits);
    EXPECT_EQ(differingPixels(reader.image(), row.make(), row.tolerance), 0);
}

// A smooth picture for the lossy format.
QImage smoothImage() {
    QImage image(40, 30, QImage::Format_RGB888);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 8, 128));
    return image;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ImageBoxRoundTrip,
    ::testing::Values(RoundTrip{"bmp_colour", [] { return colourImage(); }, "bmp", 0, 24, 0},
                      RoundTrip{"bmp_palette", [] { return paletteImage(); }, "bmp", 1, 8, 0},
                      RoundTrip{"bmp_grey", [] { return greyImage(); }, "bmp", 2, 8, 0},
                      RoundTrip{"bmp_mono", [] { return monoImage(); }, "bmp", 6, 1, 0},
                      RoundTrip{"png_colour", [] { return colourImage(); }, "png", 0, 24, 0},
                      RoundTrip{"png_palette", [] { return paletteImage(); }, "png", 1, 8, 0},
                      RoundTrip{"png_grey", [] { return greyImage(); }, "png", 2, 8, 0},
                      RoundTrip{"png_mono", [] { return monoImage(); }, "png", 6, 1, 0},
                      RoundTrip{"gif_palette", [] { return paletteImage(); }, "gif", 1, 8, 0},
                      RoundTrip{
                          "gif_colour_few_colours",
                          [] { return paletteImage().convertToFormat(QImage::Format_RGB888); },
                          "gif", 0, 8, 0},
                      RoundTrip{"gif_mono", [] { return monoImage(); }, "gif", 6, 1, 0},
                      RoundTrip{"tif_colour", [] { return colourImage(); }, "tif", 0, 24, 0},
                      RoundTrip{"tiff_palette", [] { return paletteImage(); }, "tiff", 1, 8, 0},
                      RoundTrip{"tif_grey", [] { return greyImage(); }, "tif", 2, 8, 0},
                      RoundTrip{"tif_mono", [] { return monoImage(); }, "tif", 6, 1, 0},
                      RoundTrip{"pcx_colour", [] { return colourImage(); }, "pcx", 0, 24, 0},
                      RoundTrip{"pcx_palette", [] { return paletteImage(); }, "pcx", 1, 8, 0},
                      RoundTrip{"pcx_mono_as_palette", [] { return monoImage(); }, "pcx", 6, 8, 0},
                      RoundTrip{"psd_colour", [] { return colourImage(); }, "psd", 0, 24, 0},
                      RoundTrip{"wbmp_mono", [] { return monoImage(); }, "wbmp", 0, 1, 0},
                      RoundTrip{"wbm_mono", [] { return monoImage(); }, "wbm", 6, 1, 0},
                      RoundTrip{"jpg_colour", [] { return smoothImage(); }, "jpg", 0, 24, 24},
                      RoundTrip{"jpeg_grey", [] { return greyImage(); }, "jpeg", 2, 8, 12}),
    [](const auto& info) { return std::string(info.param.name); });

// Every writer takes every colour format from every kind of held image; the
// file reads back at the image's size, and lossless formats keep grey images exact.
TEST(ImageBoxFiles, EveryFormatWritesEveryColourFormat) {
    TempAppFolder folder;
    const QImage sources[] = {colourImage(), alphaImage(), paletteImage(21, 11, true),
                              monoImage(),   greyImage(),  grey16Image(),
                              rgba64Image()};
    for (const char* extension : {"bmp", "gif", "jpg", "pcx", "png", "wbmp", "psd", "tif"}) {
        for (int colorFormat : {0, 1, 2, 6}) {
            for (const QImage& source : sources) {
                ImageBox box;
                box.setImage(source);
                box.setColorFormat(colorFormat);
                const QString path = folder.file(QString("any.") + extension);
                const std::string what = std::string(extension) + " " +
                                         std::to_string(colorFormat) + " " +
                                         std::to_string(source.format());
                ASSERT_EQ(raisedNumber([&] { box.SaveToFile(path); }), 0) << what;
                ImageBox reader;
                ASSERT_EQ(raisedNumber([&] { reader.LoadFromFile(path); }), 0) << what;
                EXPECT_EQ(reader.image().size(), source.size()) << what;
            }
        }
    }
}

TEST(ImageBoxFiles, UncompressedGifIsValidAndLargerThanLzw) {
    TempAppFolder folder;
    QImage flat(64, 64, QImage::Format_Indexed8);
    flat.setColorTable({qRgb(0, 0, 0), qRgb(200, 10, 10), qRgb(10, 200, 10)});
    flat.fill(1);
    for (int x = 0; x < 64; ++x)
        flat.setPixel(x, x, 2);
    ImageBox box;
    box.setImage(flat);
    box.setColorFormat(1);
    box.setGifCompressed(true);
    box.SaveToFile(folder.file("lzw.gif"));
    box.setGifCompressed(false);
    box.SaveToFile(folder.file("plain.gif"));

    EXPECT_GT(QFileInfo(folder.file("plain.gif")).size(), QFileInfo(folder.file("lzw.gif")).size());
    // Qt's own GIF decoder is an outside oracle for the literal-code stream.
    const QImage byQt = QImage::fromData(fileBytes(folder.file("plain.gif")), "GIF");
    EXPECT_EQ(differingPixels(byQt, flat), 0);
    ImageBox reader;
    reader.LoadFromFile(folder.file("plain.gif"));
    EXPECT_EQ(differingPixels(reader.image(), flat), 0);
}

TEST(ImageBoxFiles, UncompressedGifOfEveryCodeSizeDecodes) {
    QImage full(300, 7, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (int i = 0; i < 256; ++i)
        colours.append(qRgb(i, 255 - i, i / 2));
    full.setColorTable(colours);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 300; ++x)
            full.setPixel(x, y, uint((x + y * 3) % 256));
    TempAppFolder folder;
    for (const QImage& image : {monoImage(), paletteImage(), full}) {
        ImageBox box;
        box.setImage(image);
        box.setColorFormat(image.format() == QImage::Format_Mono ? 6 : 1);
        box.setGifCompressed(false);
        box.SaveToFile(folder.file("plain.gif"));
        const QImage byQt = QImage::fromData(fileBytes(folder.file("plain.gif")), "GIF");
        EXPECT_EQ(differingPixels(byQt, image), 0) << image.colorCount();
        ImageBox reader;
        reader.LoadFromFile(folder.file("plain.gif"));
        EXPECT_EQ(differingPixels(reader.image(), image), 0) << image.colorCount();
    }
}

TEST(ImageBoxFiles, TransparentColourBecomesTransparentInGifAndPng) {
    TempAppFolder folder;
    for (const char* name : {"t.gif", "t.png"}) {
        ImageBox box;
        box.setImage(paletteImage());
        box.setColorFormat(1);
        box.setUseTransparentColor(true);
        box.setBackgroundColor(0x00FF0000); // blue as OLE 0x00BBGGRR
        box.SaveToFile(folder.file(name));
        ImageBox reader;
        reader.LoadFromFile(folder.file(name));
        const QImage argb = reader.image().convertToFormat(QImage::Format_ARGB32);
        int transparent = 0;
        for (int y = 0; y < argb.height(); ++y)
            for (int x = 0; x < argb.width(); ++x) {
                const bool blue = paletteImage().pixel(x, y) == qRgb(0, 0, 255);
                EXPECT_EQ(qAlpha(argb.pixel(x, y)) == 0, blue) << name << " " << x << "," << y;
                transparent += blue;
            }
        EXPECT_GT(transparent, 0) << name;
    }
}

TEST(ImageBoxFiles, TransparentColourIsIgnoredByColourPng) {
    TempAppFolder folder;
    ImageBox box;
    box.setImage(paletteImage());
    box.setUseTransparentColor(true);
    box.setBackgroundColor(0x00FF0000);
    for (int colorFormat : {0, 2}) {
        box.setColorFormat(colorFormat);
        box.SaveToFile(folder.file("opaque.png"));
        ImageBox reader;
        reader.LoadFromFile(folder.file("opaque.png"));
        EXPECT_FALSE(reader.image().hasAlphaChannel()) << colorFormat;
    }
}

uint16_t tiffField(const QString& path, uint32_t tag, int page = 0) {
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tif)
        return 0xFFFF;
    TIFFSetDirectory(tif, tdir_t(page));
    uint16_t value = 0;
    TIFFGetFieldDefaulted(tif, tag, &value);
    TIFFClose(tif);
    return value;
}

TEST(ImageBoxFiles, TiffCompressionIsTheOneAskedFor) {
    struct Row {
        int compression;
        uint16_t tag;
        uint16_t bits;
    };
    TempAppFolder folder;
    for (const Row& row : {Row{0, COMPRESSION_NONE, 8}, Row{1, COMPRESSION_PACKBITS, 8},
                           Row{2, COMPRESSION_CCITTFAX4, 1}}) {
        ImageBox box;
        box.setImage(colourImage());
        box.setTiffCompression(row.compression);
        const QString path = folder.file(QString("c%1.tif").arg(row.compression));
        box.SaveToFile(path);
        EXPECT_EQ(tiffField(path, TIFFTAG_COMPRESSION), row.tag) << row.compression;
        EXPECT_EQ(tiffField(path, TIFFTAG_BITSPERSAMPLE), row.bits) << row.compression;
        EXPECT_EQ(box.BitsPerPixel(), 24) << "the held image keeps its depth";
    }
}

TEST(ImageBoxFiles, GroupFourPagesAreExactBlackAndWhite) {
    TempAppFolder folder;
    ImageBox box;
    box.setImage(monoImage(300, 40));
    box.setTiffCompression(2);
    box.SaveToFile(folder.file("g4.tif"));
    ImageBox reader;
    reader.LoadFromFile(folder.file("g4.tif"));
    EXPECT_EQ(reader.BitsPerPixel(), 1);
    EXPECT_EQ(differingPixels(reader.image(), monoImage(300, 40)), 0);
}

TEST(ImageBoxFiles, ThreePageTiffLoadsEachPageByIndex) {
    TempAppFolder folder;
    const QString path = folder.file("three.tif");
    const QImage pages[] = {colourImage(), paletteImage(), greyImage()};
    ImageBox box;
    box.setImage(pages[0]);
    box.SaveToFile(path);
    box.setColorFormat(1);
    box.setImage(pages[1]);
    box.AppendPageTiff(path);
    box.setColorFormat(2);
    box.setImage(pages[2]);
    box.AppendPageTiff(path);

    ImageBox reader;
    EXPECT_EQ(reader.PageCountOfFile(path), 3);
    for (int page = 1; page <= 3; ++page) {
        reader.setPageIndex(page);
        reader.LoadFromFile(path);
        EXPECT_EQ(differingPixels(reader.image(), pages[page - 1]), 0) << "page " << page;
    }
    reader.setPageIndex(4);
    EXPECT_EQ(raisedNumber([&] { reader.LoadFromFile(path); }), err::Unexpected);
    EXPECT_TRUE(reader.LoadedFlag());
    EXPECT_EQ(differingPixels(reader.image(), pages[2]), 0) << "the last good page stays";
}

TEST(ImageBoxFiles, AppendPageTiffCreatesAMissingFile) {
    TempAppFolder folder;
    ImageBox box;
    box.setImage(colourImage());
    box.AppendPageTiff(folder.file("new.tif"));
    box.AppendPageTiff(folder.file("new.tif"));
    EXPECT_EQ(box.PageCountOfFile(folder.file("new.tif")), 2);
}

TEST(ImageBoxFiles, AppendPageTiffRefusesADamagedFileAndKeepsIt) {
    TempAppFolder folder;
    const QString path = folder.file("damaged.tif");
    ImageBox box;
    box.setImage(colourImage());
    box.SaveToFile(path);
    const QByteArray cut = fileBytes(path).left(100);
    writeBytes(path, cut);
    EXPECT_EQ(raisedNumber([&] { box.AppendPageTiff(path); }), err::Unexpected);
    EXPECT_EQ(fileBytes(path), cut);
}

TEST(ImageBoxFiles, GifLoadsItsFirstFrame) {
    TempAppFolder folder;
    const QString path = folder.file("frames.gif");
    FIMULTIBITMAP* gif =
        FreeImage_OpenMultiBitmap(FIF_GIF, QFile::encodeName(path).constData(), TRUE, FALSE);
    ASSERT_NE(gif, nullptr);
    for (BYTE index : {BYTE(1), BYTE(2)}) {
        FIBITMAP* frame = FreeImage_Allocate(6, 4, 8);
        RGBQUAD* palette = FreeImage_GetPalette(frame);
        palette[1] = RGBQUAD{0, 0, 255, 0};
        palette[2] = RGBQUAD{255, 0, 0, 0};
        for (unsigned y = 0; y < 4; ++y)
            for (unsigned x = 0; x < 6; ++x)
                FreeImage_SetPixelIndex(frame, x, y, &index);
        FreeImage_AppendPage(gif, frame);
        FreeImage_Unload(frame);
    }
    FreeImage_CloseMultiBitmap(gif);
    ImageBox box;
    box.LoadFromFile(path);
    EXPECT_EQ(box.image().pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_EQ(box.PageCountOfFile(path), 1);
}

TEST(ImageBoxFiles, PageCountOfOtherFormatsIsOne) {
    TempAppFolder folder;
    ImageBox box;
    box.setImage(colourImage());
    for (const char* name : {"a.png", "a.bmp", "a.jpg", "a.gif", "a.pcx", "a.psd", "a.wbmp"}) {
        box.SaveToFile(folder.file(name));
        EXPECT_EQ(box.PageCountOfFile(folder.file(name)), 1) << name;
    }
}

TEST(ImageBoxFiles, GreyColourFormatWritesGreyAndKeepsTheHeldImage) {
    TempAppFolder folder;
    ImageBox box;
    box.setImage(colourImage());
    box.setColorFormat(2);
    for (const char* name : {"g.tif", "g.png", "g.bmp", "g.jpg"}) {
        box.SaveToFile(folder.file(name));
        ImageBox reader;
        reader.LoadFromFile(folder.file(name));
        EXPECT_EQ(reader.image().format(), QImage::Format_Grayscale8) << name;
    }
    EXPECT_EQ(tiffField(folder.file("g.tif"), TIFFTAG_SAMPLESPERPIXEL), 1);
    EXPECT_EQ(tiffField(folder.file("g.tif"), TIFFTAG_PHOTOMETRIC), PHOTOMETRIC_MINISBLACK);
    EXPECT_EQ(box.image().format(), QImage::Format_RGB888);
    EXPECT_EQ(differingPixels(box.image(), colourImage()), 0);
}

TEST(ImageBoxFiles, EncodedSizeEqualsTheSavedFile) {
    struct Row {
        int code;
        const char* extension;
        int colorFormat;
        int tiffCompression;
    };
    TempAppFolder folder;
    ImageBox box;
    box.setImage(colourImage(61, 47));
    box.setJpegQuality(60);
    box.setJpegProgressive(true);
    for (const Row& row :
         {Row{0, "bmp", 0, 0}, Row{0, "bmp", 6, 0}, Row{1, "gif", 0, 0}, Row{2, "jpg", 0, 0},
          Row{2, "jpg", 2, 0}, Row{3, "pcx", 0, 0}, Row{4, "png", 1, 0}, Row{5, "wbmp", 0, 0},
          Row{6, "psd", 0, 0}, Row{7, "tif", 0, 1}, Row{7, "tif", 0, 2}, Row{8, "pdf", 0, 0}}) {
        box.setColorFormat(row.colorFormat);
        box.setTiffCompression(row.tiffCompression);
        const QString path = folder.file(
            QString("s%1%2.").arg(row.colorFormat).arg(row.tiffCompression) + row.extension);
        box.SaveToFile(path);
        EXPECT_EQ(box.EncodedSize(row.code), QFileInfo(path).size()) << row.extension;
    }
}

TEST(ImageBoxFiles, JpegQualityAndProgressiveReachTheFile) {
    TempAppFolder folder;
    ImageBox box;
    box.setImage(colourImage(80, 60));
    box.setJpegQuality(20);
    const int64_t low = box.EncodedSize(ImageBox::FormatJpeg);
    box.setJpegQuality(95);
    EXPECT_GT(box.EncodedSize(ImageBox::FormatJpeg), low);
    box.setJpegProgressive(true);
    box.SaveToFile(folder.file("p.jpg"));
    EXPECT_TRUE(fileBytes(folder.file("p.jpg")).contains("\xFF\xC2"));
    box.setJpegProgressive(false);
    box.SaveToFile(folder.file("b.jpg"));
    EXPECT_FALSE(fileBytes(folder.file("b.jpg")).contains("\xFF\xC2"));
}

TEST(ImageBoxFiles, UnknownExtensionRaisesAndWritesNothing) {
    TempAppFolder folder;
    ImageBox box;
    box.setImage(colourImage());
    for (const char* name : {"a.xyz", "noextension", "a.tga"}) {
        EXPECT_EQ(raisedNumber([&] { box.SaveToFile(folder.file(name)); }),
                  err::InvalidProcedureCall);
        EXPECT_FALSE(QFileInfo::exists(folder.file(name)));
    }
}

TEST(ImageBoxFiles, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    TempAppFolder folder;
    const QString path = folder.file("keep.png");
    writeBytes(path, "old contents");
    ImageBox empty;
    EXPECT_EQ(raisedNumber([&] { empty.SaveToFile(path); }), err::Unexpected);
    EXPECT_EQ(fileBytes(path), QByteArray("old contents"));
    ImageBox box;
    box.setImage(colourImage());
    EXPECT_NE(raisedNumber([&] { box.SaveToFile(folder.file("missing/sub/a.png")); }), 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(ImageBoxFiles, ExtensionCaseDoesNotMatter) {
    TempAppFolder folder;
    ImageBox box;
    box.setImage(colourImage());
    box.SaveToFile(folder.file("UPPER.JPG"));
    EXPECT_TRUE(fileBytes(folder.file("UPPER.JPG")).startsWith("\xFF\xD8"));
}

TEST(ImageBoxFiles, PngFromAnotherWriterLoadsAtItsDepth) {
    TempAppFolder folder;
    struct Row {
        QImage image;
        int bits;
    };
    // Qt writes these at 16, 64, 32 bits and, for the five colours, 4-bit palette.
    for (const Row& row : {Row{grey16Image(), 16}, Row{rgba64Image(), 64}, Row{alphaImage(), 32},
                           Row{paletteImage(), 8}}) {
        ASSERT_TRUE(row.image.save(folder.file("other.png"), "PNG"));
        ImageBox box;
        box.LoadFromFile(folder.file("other.png"));
        EXPECT_EQ(box.BitsPerPixel(), row.bits) << row.image.format();
        EXPECT_TRUE(exactlyEqual(box.image(), row.image)) << row.image.format();
    }
}

// A CMYK JPEG made with libjpeg (no writer of the box makes one).
QByteArray cmykJpeg(int w, int h, const uint8_t cmyk[4]) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(w);
    info.image_height = JDIMENSION(h);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(w) * 4);
    for (int x = 0; x < w; ++x)
        std::copy(cmyk, cmyk + 4, row.begin() + x * 4);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

TEST(ImageBoxFiles, CmykJpegLoadsAsColour) {
    TempAppFolder folder;
    // Adobe-style CMYK stores inverted inks: 0 is full cyan, 255 no ink.
    const uint8_t cyan[4] = {0, 255, 255, 255};
    const QByteArray bytes = cmykJpeg(16, 8, cyan);
    writeBytes(folder.file("cmyk.jpg"), bytes);
    ImageBox box;
    box.LoadFromFile(folder.file("cmyk.jpg"));
    EXPECT_EQ(box.BitsPerPixel(), 24);
    // Qt's JPEG reader is the outside oracle for the conversion to RGB.
    const QImage byQt = QImage::fromData(bytes, "JPEG");
    ASSERT_FALSE(byQt.isNull());
    EXPECT_EQ(differingPixels(box.image(), byQt, 6), 0);
    const QRgb p = box.image().pixel(8, 4);
    EXPECT_LT(qRed(p), 40);
    EXPECT_GT(qGreen(p), 200);
    EXPECT_GT(qBlue(p), 200);
}

TEST(ImageBoxFiles, PropertiesRefuseValuesOutOfRange) {
    ImageBox box;
    EXPECT_EQ(raisedNumber([&] { box.setJpegQuality(0); }), err::InvalidProcedureCall);
    EXPECT_EQ(raisedNumber([&] { box.setJpegQuality(101); }), err::InvalidProcedureCall);
    EXPECT_EQ(raisedNumber([&] { box.setColorFormat(3); }), err::InvalidProcedureCall);
    EXPECT_EQ(raisedNumber([&] { box.setTiffCompression(3); }), err::InvalidProcedureCall);
    EXPECT_EQ(box.JpegQuality(), 75);
    EXPECT_EQ(box.ColorFormat(), 0);
}

TEST(ImageBoxFiles, ClearEmptiesTheBox) {
    ImageBox box;
    box.setImage(colourImage());
    box.setTag("kept");
    EXPECT_TRUE(box.HasImage());
    EXPECT_EQ(box.ImageWidth(), 23);
    EXPECT_EQ(box.ImageHeight(), 17);
    box.Clear();
    EXPECT_FALSE(box.HasImage());
    EXPECT_EQ(box.BitsPerPixel(), 0);
    EXPECT_EQ(box.Tag(), "kept");
}

} // namespace
} // namespace picbasket::test::imagebox

namespace picbasket::test::imagebox {
namespace {

struct ExactPage {
    const char* name;
    std::function<QImage()> make;
};

void PrintTo(const ExactPage& row, std::ostream* os) {
    *os << row.name;
}

class ImageBoxExactTiff : public ::testing::TestWithParam<ExactPage> {};

// The save options that would reduce a page (1-bit Group 4, 1-bit colour format)
// do not reach the exact file; reading it back gives the held image.
TEST_P(ImageBoxExactTiff, ReadsBackTheHeldImageWhateverTheSaveOptions) {
    TempAppFolder folder;
    const QString path = folder.file("page.tif");
    ImageBox writer;
    writer.setImage(GetParam().make());
    writer.setTiffCompression(2);
    writer.setColorFormat(6);
    ASSERT_TRUE(writer.SaveExactTiff(path));

    ImageBox reader;
    reader.LoadFromFile(path);
    EXPECT_EQ(reader.image().format(), writer.image().format());
    EXPECT_EQ(reader.BitsPerPixel(), writer.BitsPerPixel());
    EXPECT_EQ(differingPixels(reader.image(), writer.image()), 0);
    if (writer.image().depth() == 64)
        EXPECT_EQ(reader.image(), writer.image()) << "16-bit samples kept";
    EXPECT_FALSE(QDir(folder.path()).entryList(QDir::Hidden | QDir::Files).join(',').contains(
        ".page.tif."))
        << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageBoxExactTiff,
                         ::testing::Values(ExactPage{"colour", [] { return colourImage(); }},
                                           ExactPage{"alpha", [] { return alphaImage(); }},
                                           ExactPage{"mono", [] { return monoImage(); }},
                                           ExactPage{"grey", [] { return greyImage(); }},
                                           ExactPage{"rgba64", [] { return rgba64Image(); }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImageBoxFiles, ExactTiffNeverReplacesAFileAndCarriesTheMetadata) {
    TempAppFolder folder;
    const QString taken = folder.file("taken.tif");
    {
        QFile file(taken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    ImageBox box;
    box.setImage(colourImage());
    ASSERT_TRUE(box.SetExifAttribute("Artist", "Jane Doe"));
    box.setIptcCaption("A caption");
    EXPECT_FALSE(box.SaveExactTiff(taken));
    QFile kept(taken);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));

    const QString fresh = folder.file("fresh.tif");
    ASSERT_TRUE(box.SaveExactTiff(fresh));
    ImageBox reader;
    reader.LoadFromFile(fresh);
    EXPECT_EQ(reader.ExifValueByName("Artist"), "Jane Doe");
    EXPECT_EQ(reader.IptcCaption(), "A caption");
    EXPECT_EQ(differingPixels(reader.image(), colourImage()), 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Hidden | QDir::Files).size(), 2);
}

} // namespace
} // namespace picbasket::test::imagebox
