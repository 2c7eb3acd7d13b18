#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/DamagedImageFiles.h"
#include "tests/common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Files whose length is intact but whose data is not, and sound files that one
// library fails on: the box refuses the first with its skippable failure and
// decodes the second exactly. Outside oracle: ImageMagick's own decode.
namespace picbasket::test {
namespace {

QImage decodedByImageMagick(const QString& path, const QString& folder) {
    const QString ppm = QDir(folder).filePath(QFileInfo(path).fileName() + ".ppm");
    if (!runConvert({path, ppm}))
        return {};
    return QImage(ppm).convertToFormat(QImage::Format_RGB888);
}

TEST(ImageBoxRle8, ImageMagickRle8BmpsLoadExactly) {
    if (!hasImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    QTemporaryDir folder;
    const std::vector<MadeFile> files = makeRle8Bmps(folder.path());
    ASSERT_EQ(files.size(), 3u);
    for (const MadeFile& file : files) {
        ImageBox box;
        ASSERT_NO_THROW(box.LoadFromFile(file.path)) << file.name.toStdString();
        const QImage expected = decodedByImageMagick(file.path, folder.path());
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(box.image().convertToFormat(QImage::Format_RGB888), expected)
            << file.name.toStdString();
        EXPECT_EQ(box.BitsPerPixel(), 8) << file.name.toStdString();
    }
}

class ImageBoxInnerDamageCorrupt : public ::testing::Test {};

TEST_F(ImageBoxInnerDamageCorrupt, DamageInsideTheDataIsRefused) {
    if (!hasImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    QTemporaryDir folder;
    const std::vector<MadeFile> files = makeInnerDamagedFiles(folder.path());
    ASSERT_EQ(files.size(), 5u);
    // The whole files the damaged ones were made from load.
    for (const char* whole : {"whole.gif", "whole-g4.tif", "whole-jpeg.tif", "whole.jpg"}) {
        ImageBox box;
        EXPECT_NO_THROW(box.LoadFromFile(QDir(folder.path()).filePath(whole))) << whole;
    }
    for (const MadeFile& file : files) {
        ImageBox box;
        try {
            box.LoadFromFile(file.path);
            ADD_FAILURE() << file.name.toStdString() << " was loaded";
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), err::Unexpected) << file.name.toStdString();
        }
        EXPECT_FALSE(box.HasImage()) << file.name.toStdString();
    }
}

// A run-length BMP whose runs pass the image's rows or its bottom is damaged even
// though its stream ends properly: no reader may make a picture of it.
TEST_F(ImageBoxInnerDamageCorrupt, RleRunsOutsideTheImageAreRefused) {
    // 3 x 2 pixels (rows padded to 4), 8 bits, a 2-entry palette, then the runs under test.
    auto bmp = [](const QByteArray& runs) {
        QByteArray header(54, '\0');
        auto le32 = [&](int at, quint32 v) {
            for (int i = 0; i < 4; ++i)
                header[at + i] = char((v >> (8 * i)) & 0xFF);
        };
        header[0] = 'B', header[1] = 'M';
        le32(2, quint32(54 + 8 + runs.size()));
        le32(10, 54 + 8);
        le32(14, 40);
        le32(18, 3);
        le32(22, 2);
        header[26] = 1;
        header[28] = 8;
        le32(30, 1);
        le32(34, quint32(runs.size()));
        le32(46, 2);
        return header + QByteArray("\0\0\0\0\xFF\xFF\xFF\0", 8) + runs;
    };
    const struct {
        const char* what;
        QByteArray runs;
        bool sound;
    } cases[] = {
        {"two rows and the end", QByteArray("\x03\x01\x00\x00\x04\x00\x00\x01", 8), true},
        {"a run into the padding", QByteArray("\x04\x01\x00\x00\x04\x00\x00\x01", 8), true},
        {"a run past the row's padding", QByteArray("\x05\x01\x00\x00\x04\x00\x00\x01", 8), false},
        {"a third row", QByteArray("\x04\x01\x00\x00\x04\x00\x00\x00\x04\x01\x00\x01", 12), false},
        {"a move below the image", QByteArray("\x00\x02\x00\x05\x00\x01", 6), false},
        {"no end", QByteArray("\x04\x01\x00\x00", 4), false},
    };
    QTemporaryDir folder;
    for (const auto& c : cases) {
        const QString path = QDir(folder.path()).filePath("runs.bmp");
        ASSERT_TRUE(writeFileBytes(path, bmp(c.runs)));
        ImageBox box;
        bool loaded = true;
        try {
            box.LoadFromFile(path);
        } catch (const AppError& error) {
            loaded = false;
            EXPECT_EQ(error.number(), err::Unexpected) << c.what;
        }
        EXPECT_EQ(loaded, c.sound) << c.what;
    }
}

// Its IPTC tag holds 80 bytes and a dataset inside claims 248: FreeImage's own
// IPTC reader would read past the tag. The pixels load, and so do pages appended
// to the file (the sanitizer build reports any read past the tag).
TEST_F(ImageBoxInnerDamageCorrupt, IptcDatasetPastItsTagNeverReachesFreeImage) {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath("iptc.tif");
    const QByteArray finding =
        fileBytes(testDataFolder() + "/fuzz/imagebox/tiff-iptc-dataset-past-tag.tif");
    ASSERT_FALSE(finding.isEmpty());
    ASSERT_TRUE(writeFileBytes(path, finding.mid(1)));
    ImageBox box;
    ASSERT_NO_THROW(box.LoadFromFile(path));
    EXPECT_EQ(box.image().size(), QSize(6, 4));
    box.AppendPageTiff(path);
    EXPECT_EQ(box.PageCountOfFile(path), 2);
    for (int page : {1, 2}) {
        ImageBox reader;
        reader.setPageIndex(page);
        ASSERT_NO_THROW(reader.LoadFromFile(path)) << page;
        EXPECT_EQ(reader.image().size(), QSize(6, 4)) << page;
    }
}

} // namespace
} // namespace picbasket::test
