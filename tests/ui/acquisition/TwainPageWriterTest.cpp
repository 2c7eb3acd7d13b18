#include "acquisition/TwainPageWriter.h"
#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <tiffio.h>

using namespace picbasket;

namespace {

QImage page(QImage::Format format, int width) {
    QImage image(width, 8, format);
    if (format == QImage::Format_Mono)
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(0);
    return image;
}

// Puts a page in the box as a scan would: ColorFormat follows the page.
void scanned(ImageBox& box, const QImage& image) {
    box.setImage(image);
    box.setColorFormat(image.format() == QImage::Format_Mono ? 6 : 0);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

std::vector<uint16_t> tiffCompressions(const QString& path) {
    std::vector<uint16_t> out;
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "r");
    if (!tif)
        return out;
    do {
        uint16_t c = 0;
        TIFFGetField(tif, TIFFTAG_COMPRESSION, &c);
        out.push_back(c);
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return out;
}

class TwainPageWriterTest : public ::testing::Test {
protected:
    TwainDiskTarget target(const QString& ext, bool multipage, bool overwrite) const {
        return {folder.file("out"), "Twain", ext, multipage, overwrite};
    }
    // One acquisition of `count` pages; returns the paths written.
    QStringList acquire(const TwainDiskTarget& t, int count, int width = 10) {
        writer.begin(t);
        QStringList paths;
        for (int n = 1; n <= count; ++n) {
            scanned(box, page(QImage::Format_RGB888, width + n));
            paths << writer.writeToDisk(box, n);
        }
        return paths;
    }
    QString out(const QString& name) const { return QDir(folder.file("out")).filePath(name); }

    test::TempAppFolder folder;
    ImageBox box;
    TwainPageWriter writer;
};

} // namespace

TEST_F(TwainPageWriterTest, SinglePagesUntickedContinueAfterTheLastRunAndKeepIt) {
    EXPECT_EQ(acquire(target(".bmp", false, false), 3),
              (QStringList{out("Twain1.bmp"), out("Twain2.bmp"), out("Twain3.bmp")}));
    const QByteArray first = [&] {
        QFile f(out("Twain1.bmp"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_EQ(acquire(target(".bmp", false, false), 2),
              (QStringList{out("Twain4.bmp"), out("Twain5.bmp")}));
    QFile f(out("Twain1.bmp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), first);

    // A gap is filled, but nothing is replaced and the numbers keep rising.
    QFile::remove(out("Twain2.bmp"));
    EXPECT_EQ(acquire(target(".bmp", false, false), 2),
              (QStringList{out("Twain2.bmp"), out("Twain6.bmp")}));
}

TEST_F(TwainPageWriterTest, SinglePagesTickedReplaceTheNumbersOfThePages) {
    acquire(target(".bmp", false, false), 3);
    EXPECT_EQ(acquire(target(".bmp", false, true), 2, 40),
              (QStringList{out("Twain1.bmp"), out("Twain2.bmp")}));
    EXPECT_EQ(filesIn(folder.file("out")), (QStringList{"Twain1.bmp", "Twain2.bmp", "Twain3.bmp"}));
    ImageBox read;
    read.LoadFromFile(out("Twain2.bmp"));
    EXPECT_EQ(read.ImageWidth(), 42);
}

TEST_F(TwainPageWriterTest, AMultipageFileIsChosenAtPageOneAndNeverReplacedUnticked) {
    EXPECT_EQ(acquire(target(".tif", true, false), 3), QStringList(3, out("Twain.tif")));
    EXPECT_EQ(acquire(target(".tif", true, false), 2), QStringList(2, out("Twain_2.tif")));
    EXPECT_EQ(acquire(target(".tif", true, false), 1), QStringList(1, out("Twain_3.tif")));
    EXPECT_EQ(tiffCompressions(out("Twain.tif")).size(), 3u);
    EXPECT_EQ(tiffCompressions(out("Twain_2.tif")).size(), 2u);

    // Ticked, page 1 starts the file again.
    acquire(target(".tif", true, true), 2);
    EXPECT_EQ(tiffCompressions(out("Twain.tif")).size(), 2u);
}

TEST_F(TwainPageWriterTest, EachPageChoosesItsOwnCompression) {
    writer.begin(target(".tif", true, false));
    const QImage::Format formats[] = {QImage::Format_Mono, QImage::Format_RGB888,
                                      QImage::Format_Mono, QImage::Format_RGB888};
    for (int n = 1; n <= 4; ++n) {
        scanned(box, page(formats[n - 1], 16));
        writer.writeToDisk(box, n);
    }
    EXPECT_EQ(tiffCompressions(out("Twain.tif")),
              (std::vector<uint16_t>{COMPRESSION_CCITTFAX4, COMPRESSION_NONE, COMPRESSION_CCITTFAX4,
                                     COMPRESSION_NONE}));
}

TEST_F(TwainPageWriterTest, ALaterPageWithoutPageOneIsAnError) {
    writer.begin(target(".pdf", true, false));
    scanned(box, page(QImage::Format_RGB888, 5));
    EXPECT_THROW(writer.writeToDisk(box, 2), AppError);
    EXPECT_FALSE(QFileInfo::exists(out("Twain.pdf")));
}

TEST_F(TwainPageWriterTest, AMissingFolderIsCreatedAndAnImpossibleOneRaises) {
    TwainDiskTarget t = target(".bmp", false, false);
    t.folder = folder.file("new/deeper");
    writer.begin(t);
    scanned(box, page(QImage::Format_RGB888, 5));
    EXPECT_TRUE(QFileInfo::exists(writer.writeToDisk(box, 1)));

    QFile blocker(folder.file("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    t.folder = folder.file("file/sub");
    writer.begin(t);
    EXPECT_THROW(writer.writeToDisk(box, 1), AppError);
}

TEST_F(TwainPageWriterTest, BasketPagesAreExactCopiesUnderNamesNotTaken) {
    // Every draw gives 0.5: the second page of number 1 must find another name.
    int calls = 0;
    writer.random = [&] { return ++calls <= 2 ? 0.5 : 0.25; };
    const QString temp = folder.file("temp");
    scanned(box, page(QImage::Format_Mono, 9));
    const QString a = writer.writeToBasket(box, 1, temp);
    const QString b = writer.writeToBasket(box, 1, temp);
    EXPECT_EQ(QFileInfo(a).fileName(), "1_4999.tif");
    EXPECT_EQ(QFileInfo(b).fileName(), "1_2499.tif");
    ImageBox read;
    read.LoadFromFile(a);
    EXPECT_EQ(read.image(), box.image());
}
