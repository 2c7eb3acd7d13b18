#include "controls/dialogs/FakeDialogBackend.h"
#include "core/Globals.h"
#include "core/setup/modSetup.h"
#include "export/modSavePreview.h"
#include "metadata/modMetadata.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/jp2/AxImage.h"
#include "tests/common/TestSupport.h"
#include "tests/platform/metadata/CameraFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

typFormatOptions& formats() {
    return picbasket::Setup.SaveOptions.Formats;
}

// Output of an outside tool, stdout and stderr together; "" when it cannot run.
QString run(const QString& program, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {};
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAll());
}

bool haveTool(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A 64 x 48 colour picture: a gradient with a white block in one corner.
QImage photo() {
    QImage image(64, 48, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, x < 16 && y < 16 ? QColor(255, 255, 255)
                                                       : QColor(x * 4, y * 5, 128));
    return image;
}

// Watches the rate and the file the JPEG 2000 writer is given.
class RecordingJpeg2000 : public AxImage {
public:
    void SetCompressionRate(int32_t rate) override {
        rates.push_back(rate);
        AxImage::SetCompressionRate(rate);
    }
    void SaveFile(const QString& path, int32_t format) override {
        paths << path;
        AxImage::SaveFile(path, format);
    }
    std::vector<int32_t> rates;
    QStringList paths;
};

class SavePreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        picbasket::Setup = fncSetupDefaults();
        box.setImage(photo());
    }
    void TearDown() override { picbasket::Setup = fncSetupDefaults(); }

    bool save(const QString& name) { return fncSavePreviewImage(box, folder.file(name), jp2); }
    QString tiffInfo(const QString& name) { return run("tiffinfo", {folder.file(name)}); }
    QString software(const QString& name) {
        return run("exiftool", {"-s3", "-Software", folder.file(name)}).trimmed();
    }
    // identify's description of the file (format, size, depth...).
    QString identify(const QString& file, const QString& format = "%m %wx%h") {
        return run("identify", {"-format", format, file}).trimmed();
    }

    test::TempAppFolder folder;
    test::MessageRecorder messages;
    test::ErrorRecorder errors;
    RecordingJpeg2000 jp2;
    ImageBox box;
};

} // namespace

TEST_F(SavePreviewTest, CapitalJpegNameTakesTheJpegOptionsAndTheStamp) {
    if (!haveTool("identify") || !haveTool("exiftool"))
        GTEST_SKIP() << "identify or exiftool missing";
    formats().JPG.Quality = 30;
    formats().JPG.Encoding = 1;
    const QString title = SoftwareName;
    SoftwareName = "PicBasket 9.8";
    ASSERT_TRUE(save("X.JPG"));
    SoftwareName = title;
    EXPECT_EQ(identify(folder.file("X.JPG"), "%m %Q %[interlace]"), "JPEG 30 JPEG");
    EXPECT_EQ(software("X.JPG"), "PicBasket 9.8");

    formats().JPG.Encoding = 0;
    formats().JPG.ColorDepth = 1;
    ASSERT_TRUE(save("grey.jpeg"));
    EXPECT_EQ(identify(folder.file("grey.jpeg"), "%Q %[interlace] %[colorspace]"), "30 None Gray");
}

TEST_F(SavePreviewTest, TiffCompressionsReadBackWithLibtiff) {
    if (!haveTool("tiffinfo") || !haveTool("exiftool"))
        GTEST_SKIP() << "tiffinfo or exiftool missing";
    const struct {
        int16_t compression;
        const char* scheme;
        const char* bits;
    } rows[] = {
        {0, "None", "Bits/Sample: 8"},          {1, "PackBits", "Bits/Sample: 8"},
        {2, "CCITT Group 4", "Bits/Sample: 1"}, {3, "CCITT Group 3", "Bits/Sample: 1"},
        {4, "LZW", "Bits/Sample: 8"},           {5, "JPEG", "Bits/Sample: 8"},
        {6, "Deflate", "Bits/Sample: 8"},
    };
    for (const auto& r : rows) {
        formats().TIFF.Compression = r.compression;
        const QString name = QString("c%1.tif").arg(r.compression);
        ASSERT_TRUE(save(name)) << r.compression;
        const QString info = tiffInfo(name);
        EXPECT_TRUE(info.contains(QString("Compression Scheme: ") + r.scheme))
            << r.compression << "\n" << info.toStdString();
        EXPECT_TRUE(info.contains(r.bits)) << r.compression << "\n" << info.toStdString();
        EXPECT_FALSE(software(name).isEmpty()) << r.compression;
        const QImage back(folder.file(name));
        EXPECT_EQ(back.size(), QSize(64, 48)) << r.compression;
    }
}

// A camera photo turned by its Orientation, previewed upright and saved as TIFF
// with each coding (the box's own writer and FreeImage's): the file is upright,
// of the upright size, and carries the photo's EXIF with Orientation 1 and its
// maker note, as a JPEG save does.
TEST_F(SavePreviewTest, TiffOfATurnedPhotoKeepsItsExif) {
    if (!haveTool("tiffinfo") || !haveTool("exiftool"))
        GTEST_SKIP() << "tiffinfo or exiftool missing";
    for (const int orientation : {1, 6, 8}) {
        test::CameraExif o;
        o.orientation = orientation;
        const QString source = folder.file(QString("turned%1.jpg").arg(orientation));
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(test::jpegWithBlocks(test::quadrantPicture(64, 48), test::cameraExif(o)));
        file.close();
        const QString notes = run("exiftool", {"-s", "-MakerNotes:all", source});
        const bool upright = orientation == 1;
        const QString size = upright ? "Image Width: 64 Image Length: 48"
                                     : "Image Width: 48 Image Length: 64";
        for (int16_t compression = 0; compression <= 6; ++compression) {
            const std::string what =
                "orientation " + std::to_string(orientation) + ", coding " + std::to_string(compression);
            ImageBox preview;
            preview.LoadFromFile(source);
            formats().TIFF.Compression = compression;
            const QString name = QString("turned%1-c%2.tif").arg(orientation).arg(compression);
            ASSERT_TRUE(fncSavePreviewImage(preview, folder.file(name), jp2)) << what;
            EXPECT_TRUE(tiffInfo(name).contains(size)) << what << "\n" << tiffInfo(name).toStdString();
            EXPECT_TRUE(tiffInfo(name).contains("EXIFIFDOffset")) << what;
            const QString tags =
                run("exiftool", {"-s3", "-n", "-Orientation", "-Make", "-DateTimeOriginal",
                                 folder.file(name)});
            EXPECT_EQ(tags.trimmed().toStdString(), "1\nCanon\n2004:05:06 07:08:09") << what;
            EXPECT_EQ(run("exiftool", {"-s", "-MakerNotes:all", folder.file(name)}).toStdString(),
                      notes.toStdString())
                << what;
            EXPECT_FALSE(software(name).isEmpty()) << what;
        }
    }
}

// FreeImage would write "UP.TIF.tif" for an upper-case name.
TEST_F(SavePreviewTest, FreeImageRouteWritesTheNameAsGiven) {
    formats().TIFF.Compression = 4;
    ASSERT_TRUE(save("UP.TIF"));
    EXPECT_TRUE(QFileInfo::exists(folder.file("UP.TIF")));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"UP.TIF"});
    if (haveTool("tiffinfo"))
        EXPECT_TRUE(tiffInfo("UP.TIF").contains("Compression Scheme: LZW"));
}

TEST_F(SavePreviewTest, Jpeg2000RateAndLossless) {
    formats().JPEG2000 = {0, 10};
    ASSERT_TRUE(save("lossless.jp2"));
    formats().JPEG2000 = {1, 10};
    ASSERT_TRUE(save("lossy.jpc"));
    EXPECT_EQ(jp2.rates, (std::vector<int32_t>{25, 10}));
    EXPECT_EQ(jp2.paths, (QStringList{folder.file("lossless.jp2"), folder.file("lossy.jpc")}));
    if (!haveTool("opj_decompress"))
        GTEST_SKIP() << "opj_decompress missing";
    run("opj_decompress", {"-i", folder.file("lossless.jp2"), "-o", folder.file("back.png")});
    const QImage back = QImage(folder.file("back.png")).convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(back, photo()) << "rate 25 is lossless";
    EXPECT_TRUE(fileBytes(folder.file("lossy.jpc")).startsWith(QByteArray("\xff\x4f", 2)));
}

// The preview of a Display P3 photo at 300 dpi keeps both in its JP2 file.
TEST_F(SavePreviewTest, Jpeg2000KeepsTheColourProfileAndResolution) {
    if (!haveTool("jpylyzer"))
        GTEST_SKIP() << "jpylyzer missing";
    test::CameraExif o;
    o.xDpi = 300;
    QFile source(folder.file("p3.jpg"));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(test::jpegWithBlocks(test::quadrantPicture(64, 48), test::cameraExif(o),
                                      test::displayP3Profile()));
    source.close();
    box.LoadFromFile(folder.file("p3.jpg"));
    ASSERT_TRUE(save("p3.jp2"));
    const QString report = run("jpylyzer", {folder.file("p3.jp2")});
    EXPECT_TRUE(report.contains("<meth>Restricted ICC</meth>")) << report.toStdString();
    EXPECT_TRUE(report.contains("<hRescInPixelsPerInch>300.0")) << report.toStdString();
}

TEST_F(SavePreviewTest, PngTransparencyOnlyForEightBit) {
    formats().PNG.Transparent = 1;
    formats().PNG.TransparentColor = rgbOle(255, 255, 255);
    formats().PNG.ColorDepth = 0;
    ASSERT_TRUE(save("full.png"));
    formats().PNG.ColorDepth = 1;
    ASSERT_TRUE(save("palette.png"));
    formats().PNG.Transparent = 0;
    ASSERT_TRUE(save("opaque.png"));
    EXPECT_FALSE(fileBytes(folder.file("full.png")).contains("tRNS"));
    EXPECT_FALSE(fileBytes(folder.file("full.png")).contains("PLTE"));
    EXPECT_TRUE(fileBytes(folder.file("palette.png")).contains("tRNS"));
    EXPECT_FALSE(fileBytes(folder.file("opaque.png")).contains("tRNS"));
    EXPECT_EQ(QImage(folder.file("palette.png")).pixelColor(2, 2).alpha(), 0);
}

// The stored default transparent colour is a system colour; it is made transparent
// as it is painted (white here), not as its raw number.
TEST_F(SavePreviewTest, GifCompressionAndTransparency) {
    formats().GIF.Compression = 0;
    ASSERT_TRUE(save("plain.gif"));
    formats().GIF.Compression = 1;
    formats().GIF.Transparent = 1;
    formats().GIF.TransparentColor = syscolor::HighlightText;
    box.setImage(photo().convertToFormat(QImage::Format_Indexed8));
    ASSERT_TRUE(save("packed.gif"));
    const QImage plain(folder.file("plain.gif"));
    const QImage packed(folder.file("packed.gif"));
    EXPECT_EQ(plain.size(), QSize(64, 48));
    EXPECT_EQ(packed.size(), QSize(64, 48));
    EXPECT_LT(fileBytes(folder.file("packed.gif")).size(),
              fileBytes(folder.file("plain.gif")).size());
    if (oleToQColor(syscolor::HighlightText) == QColor(255, 255, 255))
        EXPECT_EQ(packed.pixelColor(2, 2).alpha(), 0);
    if (haveTool("identify"))
        EXPECT_EQ(identify(folder.file("packed.gif"), "%m"), "GIF");
}

TEST_F(SavePreviewTest, EveryAcceptedExtensionIsWrittenAndDecodesOutside) {
    if (!haveTool("identify"))
        GTEST_SKIP() << "identify missing";
    formats().PNM.Format = 1;
    const struct {
        const char* name;
        const char* readerPrefix; // identify's reader prefix where the extension is not its own
        const char* format;
        const char* magic;
    } rows[] = {
        {"a.bmp", "", "BMP3", "BM"},
        {"a.pcx", "", "PCX", "\x0a"},
        {"a.psd", "", "PSD", "8BPS"},
        {"a.wbm", "wbmp:", "WBMP", ""},
        {"a.wbmp", "", "WBMP", ""},
        {"a.wap", "wbmp:", "WBMP", ""},
        {"a.tga", "", "TGA", ""},
        {"a.xpm", "", "XPM", "/* XPM */"},
        {"a.pbm", "", "PBM", "P1"},
        {"a.pgm", "", "PGM", "P2"},
        {"a.ppm", "", "PPM", "P3"},
        {"a.sgi", "", "SGI", "\x01\xda"},
        {"a.pdf", "", "PDF", "%PDF"},
    };
    for (const auto& r : rows) {
        ASSERT_TRUE(save(r.name)) << r.name;
        const QString path = folder.file(r.name);
        EXPECT_TRUE(fileBytes(path).startsWith(r.magic)) << r.name;
        if (QString(r.format) == "PDF") {
            if (haveTool("pdfinfo"))
                EXPECT_TRUE(run("pdfinfo", {path}).contains("Pages:")) << r.name;
            continue;
        }
        EXPECT_EQ(identify(QString(r.readerPrefix) + path), QString(r.format) + " 64x48") << r.name;
    }
    formats().PNM.Format = 0;
    const struct {
        const char* name;
        const char* magic;
    } raw[] = {{"r.pbm", "P4"}, {"r.pgm", "P5"}, {"r.ppm", "P6"}};
    for (const auto& r : raw) {
        ASSERT_TRUE(save(r.name)) << r.name;
        EXPECT_TRUE(fileBytes(folder.file(r.name)).startsWith(r.magic)) << r.name;
        EXPECT_EQ(identify(folder.file(r.name), "%wx%h"), "64x48") << r.name;
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(SavePreviewTest, TheBoxKeepsItsOwnOptions) {
    box.setColorFormat(1);
    box.setJpegQuality(90);
    box.setJpegProgressive(false);
    box.setGifCompressed(true);
    box.setTiffCompression(1);
    box.setUseTransparentColor(false);
    box.setBackgroundColor(rgbOle(9, 9, 9));
    formats().GIF.Transparent = 1;
    formats().PNG = {1, 1, rgbOle(1, 1, 1)};
    formats().JPG = {1, 20, 1};
    formats().TIFF.Compression = 2;
    for (const char* name : {"k.wbm", "k.jpg", "k.tif", "k.gif", "k.png", "k.psd", "k.jp2"}) {
        ASSERT_TRUE(save(name)) << name;
        EXPECT_EQ(box.ColorFormat(), 1) << name;
        EXPECT_EQ(box.JpegQuality(), 90) << name;
        EXPECT_FALSE(box.JpegProgressive()) << name;
        EXPECT_TRUE(box.GifCompressed()) << name;
        EXPECT_EQ(box.TiffCompression(), 1) << name;
        EXPECT_FALSE(box.UseTransparentColor()) << name;
        EXPECT_EQ(box.BackgroundColor(), rgbOle(9, 9, 9)) << name;
    }
}

TEST_F(SavePreviewTest, UnwritableFolderShowsTheMessage) {
    FakeDialogBackend dialogs;
    const QString missing = folder.file("gone/deeper");
    const struct {
        const char* name;
        int16_t tiffCompression;
        bool reported; // the box raises an error; FreeImage only answers 0
    } rows[] = {{"x.png", 0, true}, {"x.tif", 4, false}, {"X.TIF", 4, false}};
    size_t shown = 0;
    for (const auto& r : rows) {
        formats().TIFF.Compression = r.tiffCompression;
        const int reportsBefore = int(errors.reports().size());
        dialogs.chooseFile(missing + "/" + r.name);
        EXPECT_TRUE(fncSavePreviewToFile_Dialog(box, nullptr, jp2).isEmpty()) << r.name;
        ASSERT_EQ(messages.shown().size(), ++shown) << r.name;
        EXPECT_EQ(messages.shown().back().text, "The file could not be saved!\r\nPlease try again.");
        EXPECT_EQ(messages.shown().back().style, mb::Information);
        EXPECT_EQ(int(errors.reports().size()) > reportsBefore, r.reported) << r.name;
        if (r.reported)
            EXPECT_EQ(errors.reports().back().source, "fncSavePreviewImage");
    }
    EXPECT_FALSE(QFileInfo::exists(folder.file("gone")));
}

TEST_F(SavePreviewTest, DialogSavesTheChosenNameAndCancelWritesNothing) {
    FakeDialogBackend dialogs;
    dialogs.cancelFile();
    EXPECT_EQ(fncSavePreviewToFile_Dialog(box, nullptr, jp2), QString());
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(dialogs.fileRequests()[0].title, "Save preview to an image format");
    EXPECT_EQ(dialogs.fileRequests()[0].initialFolder, QString()) << "no file shown";
    EXPECT_EQ(CurrentActivity, "saving pages to a single new file");

    dialogs.actInFileDialog([](FakeFileDialog& d) { d.typeName("shot"); });
    dialogs.chooseTyped(folder.path());
    box.setTag(folder.file("shown.jpg"));
    const QString saved = fncSavePreviewToFile_Dialog(box, nullptr, jp2);
    EXPECT_TRUE(QFileInfo::exists(folder.file("shot.tif")));
    EXPECT_EQ(QFileInfo(saved), QFileInfo(folder.file("shot.tif"))) << saved.toStdString();
    ASSERT_EQ(dialogs.fileRequests().size(), 2u);
    EXPECT_EQ(QFileInfo(dialogs.fileRequests()[1].initialFolder), QFileInfo(folder.path()))
        << "opens in the shown image's folder";
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(errors.reports().empty());
}
