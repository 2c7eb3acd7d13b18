#include "Jp2TestImages.h"

#include "core/AppError.h"
#include "platform/jp2/AxImage.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;
using namespace picbasket::test::jp2;

namespace {

int errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

QImage saveAndLoad(const QImage& image, const QString& path, int rate) {
    AxImage control;
    control.SetBitmapHandle(image);
    control.SetCompressionRate(rate);
    control.SaveFile(path, control.FormatFromExtension(QFileInfo(path).suffix()));
    AxImage reader;
    reader.LoadFile(path, reader.FormatFromExtension(QFileInfo(path).suffix()));
    return reader.GetBitmapHandle(0);
}

// What jpylyzer says about a file: its validity and the named properties' values.
QString jpylyzerReport(const QString& path, const QStringList& extra = {}) {
    QString out;
    runTool(QStringLiteral("jpylyzer"), extra + QStringList{path}, &out);
    return out;
}

struct RoundTripCase {
    const char* name;
    QImage::Format format;
    int width, height;
    const char* extension;
};

class AxImageLossless : public ::testing::TestWithParam<RoundTripCase> {};

} // namespace

// Rate 25 is the reversible transform: every pixel, every channel comes back as it was,
// in the format that holds it, for odd sizes and for the smallest images.
TEST_P(AxImageLossless, RoundTripIsBitExact) {
    const RoundTripCase& c = GetParam();
    QTemporaryDir dir;
    const QImage original = patternImage(c.width, c.height, c.format, 7);
    const QImage back =
        saveAndLoad(original, dir.filePath(QStringLiteral("out.") + c.extension), 25);
    EXPECT_TRUE(samePixels(original, back));
    EXPECT_EQ(back.hasAlphaChannel(), original.hasAlphaChannel());
    EXPECT_EQ(back.isGrayscale(), original.isGrayscale());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, AxImageLossless,
    ::testing::Values(RoundTripCase{"Rgb", QImage::Format_RGB888, 67, 45, "jp2"},
                      RoundTripCase{"RgbCodestream", QImage::Format_RGB888, 67, 45, "jpc"},
                      RoundTripCase{"Grey", QImage::Format_Grayscale8, 80, 33, "jp2"},
                      RoundTripCase{"Rgba", QImage::Format_ARGB32, 50, 61, "jp2"},
                      RoundTripCase{"RgbaCodestream", QImage::Format_ARGB32, 50, 61, "j2k"},
                      RoundTripCase{"Rgb32", QImage::Format_RGB32, 53, 29, "jp2"},
                      RoundTripCase{"Rgb32OneColumn", QImage::Format_RGB32, 1, 31, "jpc"},
                      RoundTripCase{"Grey16", QImage::Format_Grayscale16, 40, 40, "jp2"},
                      RoundTripCase{"Rgb16", QImage::Format_RGBX64, 31, 29, "jp2"},
                      RoundTripCase{"Rgba16", QImage::Format_RGBA64, 31, 29, "jp2"},
                      RoundTripCase{"OnePixel", QImage::Format_RGB888, 1, 1, "jp2"},
                      RoundTripCase{"OneRow", QImage::Format_RGB888, 97, 1, "jp2"},
                      RoundTripCase{"OneColumn", QImage::Format_Grayscale8, 1, 70, "jpc"},
                      RoundTripCase{"Large", QImage::Format_RGB888, 1200, 900, "jp2"}),
    [](const auto& info) { return std::string(info.param.name); });

// Palette and 1-bit images are coded as the colours they show: grey when the table
// is grey, RGB otherwise.
TEST(AxImageCoding, PaletteImagesKeepTheirColours) {
    QTemporaryDir dir;
    QImage indexed(23, 17, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 128, 255), qRgb(10, 200, 30)});
    QImage greyTable(23, 17, QImage::Format_Indexed8);
    greyTable.setColorTable({qRgb(0, 0, 0), qRgb(77, 77, 77), qRgb(255, 255, 255)});
    QImage mono(40, 9, QImage::Format_Mono);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x) {
            indexed.setPixel(x, y, (x + y) % 3);
            greyTable.setPixel(x, y, (x * y) % 3);
        }
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 40; ++x)
            mono.setPixel(x, y, (x ^ y) & 1);
    const std::pair<QImage, QImage::Format> rows[] = {{indexed, QImage::Format_RGB888},
                                                      {greyTable, QImage::Format_Grayscale8},
                                                      {mono, QImage::Format_Grayscale8}};
    for (const auto& [image, codedAs] : rows) {
        const QImage back = saveAndLoad(image, dir.filePath(QStringLiteral("p.jp2")), 25);
        EXPECT_TRUE(samePixels(image, back));
        EXPECT_EQ(back.format(), codedAs);
    }
}

// Rate 20 stands for 12:1; the file (headers included) lands within 15 % of that.
TEST(AxImageCoding, Rate20GivesTwelveToOne) {
    QTemporaryDir dir;
    const QImage image = patternImage(512, 512, QImage::Format_RGB888, 3);
    const QString path = dir.filePath(QStringLiteral("r20.jp2"));
    const QImage back = saveAndLoad(image, path, 20);
    const double ratio = double(512 * 512 * 3) / double(QFileInfo(path).size());
    EXPECT_NEAR(ratio, 12.0, 12.0 * 0.15);
    EXPECT_TRUE(samePixels(image, back, 40)) << "lossy, but still the same picture";
}

// A higher rate never gives a smaller file, and lossless is the largest.
TEST(AxImageCoding, HigherRateGivesLargerFile) {
    QTemporaryDir dir;
    const QImage image = patternImage(256, 256, QImage::Format_RGB888, 5);
    qint64 previous = 0;
    for (int rate : {1, 8, 16, 20, 24, 25}) {
        const QString path = dir.filePath(QStringLiteral("r%1.jp2").arg(rate));
        saveAndLoad(image, path, rate);
        const qint64 size = QFileInfo(path).size();
        EXPECT_GT(size, previous) << "rate " << rate;
        previous = size;
    }
}

TEST(AxImageCoding, ValidatorAcceptsFilesAndNamesTheTransform) {
    if (!haveTool(QStringLiteral("jpylyzer")))
        GTEST_SKIP() << "jpylyzer is not installed";
    QTemporaryDir dir;
    const struct {
        int rate;
        QImage::Format format;
        const char* transform;
        const char* colourSpace;
    } rows[] = {{20, QImage::Format_RGB888, "9-7 irreversible", "sRGB"},
                {25, QImage::Format_RGB888, "5-3 reversible", "sRGB"},
                {25, QImage::Format_Grayscale8, "5-3 reversible", "greyscale"},
                {12, QImage::Format_ARGB32, "9-7 irreversible", "sRGB"}};
    for (const auto& row : rows) {
        const QString path = dir.filePath(QStringLiteral("v%1.jp2").arg(row.rate));
        saveAndLoad(patternImage(64, 48, row.format), path, row.rate);
        const QString report = jpylyzerReport(path);
        EXPECT_TRUE(report.contains(QStringLiteral("<isValid format=\"jp2\">True</isValid>")))
            << qPrintable(report);
        EXPECT_TRUE(report.contains(
            QStringLiteral("<transformation>%1</transformation>").arg(row.transform)))
            << "rate " << row.rate;
        EXPECT_TRUE(report.contains(QStringLiteral("<enumCS>%1</enumCS>").arg(row.colourSpace)))
            << "rate " << row.rate;
        EXPECT_EQ(report.contains(QStringLiteral("<cTyp>opacity</cTyp>")),
                  row.format == QImage::Format_ARGB32)
            << "alpha is marked as opacity";
    }
}

// ".jpc" is the bare codestream (it starts with the SOC and SIZ markers), ".jp2" the boxed file.
TEST(AxImageCoding, ExtensionChoosesContainer) {
    QTemporaryDir dir;
    const QImage image = patternImage(32, 32, QImage::Format_RGB888);
    saveAndLoad(image, dir.filePath(QStringLiteral("a.jpc")), 25);
    saveAndLoad(image, dir.filePath(QStringLiteral("a.jp2")), 25);
    EXPECT_TRUE(readFile(dir.filePath(QStringLiteral("a.jpc")))
                    .startsWith(QByteArray::fromHex("ff4fff51")));
    EXPECT_TRUE(readFile(dir.filePath(QStringLiteral("a.jp2")))
                    .startsWith(QByteArray::fromHex("0000000c6a5020200d0a870a")));
    if (haveTool(QStringLiteral("jpylyzer"))) {
        const QString report = jpylyzerReport(dir.filePath(QStringLiteral("a.jpc")),
                                              {QStringLiteral("--format"), QStringLiteral("j2c")});
        EXPECT_TRUE(report.contains(QStringLiteral("<isValid format=\"j2c\">True</isValid>")))
            << qPrintable(report);
    }
}

TEST(AxImageCoding, FormatFromExtension) {
    AxImage control;
    const struct {
        const char* ext;
        int32_t format;
    } rows[] = {{"jp2", AxImage::FormatJp2},        {"JP2", AxImage::FormatJp2},
                {"jpc", AxImage::FormatCodestream}, {"j2k", AxImage::FormatCodestream},
                {"J2C", AxImage::FormatCodestream}, {"png", AxImage::FormatUnknown},
                {"", AxImage::FormatUnknown},       {"jp2x", AxImage::FormatUnknown}};
    for (const auto& row : rows)
        EXPECT_EQ(control.FormatFromExtension(QString::fromLatin1(row.ext)), row.format) << row.ext;
}

// The content decides how a file is read: a codestream named ".jp2" still loads.
TEST(AxImageCoding, ContentDecidesOverExtension) {
    QTemporaryDir dir;
    const QImage image = patternImage(20, 20, QImage::Format_RGB888);
    saveAndLoad(image, dir.filePath(QStringLiteral("c.jpc")), 25);
    QFile::rename(dir.filePath(QStringLiteral("c.jpc")), dir.filePath(QStringLiteral("c.jp2")));
    AxImage control;
    control.LoadFile(dir.filePath(QStringLiteral("c.jp2")), AxImage::FormatJp2);
    EXPECT_TRUE(samePixels(image, control.GetBitmapHandle(0)));
}

// Bad calls are refused with a clear error, leave no file behind and keep what the
// control held.
TEST(AxImageCoding, RefusesBadCalls) {
    QTemporaryDir dir;
    AxImage control;
    const QString target = dir.filePath(QStringLiteral("x.png"));
    EXPECT_EQ(errorOf([&] {
                  control.SaveFile(dir.filePath(QStringLiteral("x.jp2")), AxImage::FormatJp2);
              }),
              err::ObjectNotSet);
    control.SetBitmapHandle(patternImage(8, 8, QImage::Format_RGB888));
    EXPECT_EQ(errorOf([&] {
                  control.SaveFile(target, control.FormatFromExtension(QStringLiteral("png")));
              }),
              err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { control.SetCompressionRate(0); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { control.SetCompressionRate(26); }), err::InvalidProcedureCall);
    EXPECT_EQ(control.compressionRate(), 20);
    EXPECT_EQ(errorOf([&] { control.SetLoadOption(2); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] {
                  control.SaveFile(dir.filePath(QStringLiteral("no/such/x.jp2")),
                                   AxImage::FormatJp2);
              }),
              err::PathNotFound);
    EXPECT_EQ(errorOf([&] {
                  control.LoadFile(dir.filePath(QStringLiteral("missing.jp2")), AxImage::FormatJp2);
              }),
              err::FileNotFound);
    EXPECT_EQ(control.GetBitmapHandle(0).size(), QSize(8, 8))
        << "a failed load keeps the held image";
    EXPECT_EQ(control.PaletteHandle(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

// An existing file is replaced whole, and no temporary file is left beside it.
TEST(AxImageCoding, SaveReplacesExistingFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.jp2"));
    writeFile(path, QByteArray("old contents"));
    const QImage image = patternImage(30, 30, QImage::Format_RGB888);
    EXPECT_TRUE(samePixels(image, saveAndLoad(image, path, 25)));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.jp2")});
}

// Saving and releasing writes the very bytes SaveFile writes and leaves the
// control empty; a refused call leaves it empty too.
TEST(AxImageCoding, SaveAndReleaseWritesTheSameFileAndLetsGoOfTheImage) {
    QTemporaryDir dir;
    for (const QImage::Format format : {QImage::Format_RGB888, QImage::Format_ARGB32}) {
        for (const int rate : {20, 25}) {
            const QImage image = patternImage(61, 37, format, 11);
            const QString kept = dir.filePath(QStringLiteral("kept.jp2"));
            const QString released = dir.filePath(QStringLiteral("released.jp2"));
            AxImage control;
            control.SetCompressionRate(rate);
            control.SetBitmapHandle(image);
            control.SaveFile(kept, AxImage::FormatJp2);
            EXPECT_FALSE(control.GetBitmapHandle(0).isNull()) << "SaveFile keeps the image";
            control.SaveFileAndRelease(released, AxImage::FormatJp2);
            EXPECT_TRUE(control.GetBitmapHandle(0).isNull());
            EXPECT_EQ(readFile(released), readFile(kept)) << "format " << int(format) << " rate " << rate;
        }
    }
    AxImage control;
    control.SetBitmapHandle(patternImage(8, 8, QImage::Format_RGB888));
    EXPECT_EQ(errorOf([&] { control.SaveFileAndRelease(dir.filePath("x.png"), AxImage::FormatUnknown); }),
              5);
    EXPECT_TRUE(control.GetBitmapHandle(0).isNull());
    EXPECT_EQ(errorOf([&] { control.SaveFileAndRelease(dir.filePath("y.jp2"), AxImage::FormatJp2); }),
              91);
}
