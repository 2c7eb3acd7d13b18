// The page copy and the reduced page decode fed cut and garbled TIFF data: each
// either gives a result or raises AppError, never reads outside the data.
#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/TiffPageCopy.h"
#include "tests/common/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>
#include <random>

namespace picbasket::test {
namespace {

// Two pages: 24-bit colour and Group 4 bilevel, as the box writes them.
QByteArray twoPages(const TempAppFolder& folder) {
    const QString path = folder.file("two.tif");
    ImageBox box;
    QImage colour(300, 200, QImage::Format_RGB888);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            colour.setPixel(x, y, qRgb(x % 256, y, (x + y) % 256));
    box.setImage(colour);
    box.AppendPageTiff(path);
    box.setTiffCompression(2);
    box.setColorFormat(6);
    box.AppendPageTiff(path);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every entry on one damaged input; only AppError may come out.
void feed(const QByteArray& bytes) {
    for (int page : {0, 1}) {
        try {
            imagebox::copyTiffPage(bytes, page);
        } catch (const AppError&) {
        }
        try {
            imagebox::reducedTiffPage(bytes, page, 40, 40);
        } catch (const AppError&) {
        }
        try {
            imagebox::tiffPageSize(bytes, page);
        } catch (const AppError&) {
        }
    }
}

} // namespace

TEST(TiffPageCopyCorrupt, CutAndGarbledFilesGiveAResultOrAnError) {
    TempAppFolder folder;
    const QByteArray good = twoPages(folder);
    ASSERT_GT(good.size(), 1000);
    ASSERT_FALSE(imagebox::copyTiffPage(good, 1).isEmpty());
    EXPECT_THROW(imagebox::copyTiffPage(good, 2), AppError) << "there is no third page";
    for (qsizetype cut :
         {qsizetype(0), qsizetype(8), good.size() / 3, good.size() / 2, good.size() - 1})
        feed(good.left(cut));
    std::mt19937 random(44);
    for (int round = 0; round < 40; ++round) {
        QByteArray bytes = good;
        for (int i = 0; i < 12; ++i)
            bytes[qsizetype(random() % quint32(bytes.size()))] = char(random());
        feed(bytes);
    }
}

} // namespace picbasket::test
