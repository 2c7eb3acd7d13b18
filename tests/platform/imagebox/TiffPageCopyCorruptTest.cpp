// The page copy and the reduced page decode fed cut and garbled TIFF data: each
// either gives a result or raises AppError, never reads outside the data.
#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/TiffPageCopy.h"
#include "tests/common/TestSupport.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

// A 1 x 1 grey page in one LZW strip whose byte count claims 1 GiB; the file is a
// few hundred bytes.
QByteArray stripClaimingAGigabyte() {
    QByteArray b("II*\0\x08\0\0\0", 8);
    auto u16 = [&](int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    auto u32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    const int entries = 8;
    const quint32 data = 8 + 2 + entries * 12 + 4;
    u16(entries);
    auto entry = [&](int tag, int type, quint32 value) {
        u16(tag);
        u16(type);
        u32(1);
        u32(value);
    };
    entry(256, 3, 1);        // ImageWidth
    entry(257, 3, 1);        // ImageLength
    entry(258, 3, 8);        // BitsPerSample
    entry(259, 3, 5);        // Compression: LZW
    entry(262, 3, 1);        // Photometric: black is zero
    entry(273, 4, data);     // StripOffsets
    entry(278, 3, 1);        // RowsPerStrip
    entry(279, 4, 1u << 30); // StripByteCounts: 1 GiB
    u32(0);
    b.append(QByteArray(64, char(0x80)));
    return b;
}

// Peak resident memory of running `work` in a child process of its own, in MiB
// above what the child had when it started; -1 when the child failed.
long peakMegabytesOf(const std::function<void()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        try {
            work();
        } catch (const AppError&) {
        }
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        _exit(int(std::min<long>((after.ru_maxrss - before.ru_maxrss) / 1024, 250)));
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

// The page copy reads a strip only as far as the file goes: a byte count that
// claims 1 GiB in a file of 180 bytes costs no allocation of that size.
TEST(TiffPageCopyCorrupt, AStripClaimingMoreThanTheFileHoldsAllocatesNothingOfItsClaim) {
    const QByteArray tiff = stripClaimingAGigabyte();
    ASSERT_LT(tiff.size(), 200);
    QByteArray copied;
    try {
        copied = imagebox::copyTiffPage(tiff, 0);
    } catch (const AppError&) {
    }
    EXPECT_TRUE(copied.isEmpty()) << "a page whose strip runs past the file is not copied";
    const long peak = peakMegabytesOf([&] {
        imagebox::copyTiffPage(tiff, 0);
        imagebox::TiffPageWalk(tiff).copy(0);
    });
    ASSERT_GE(peak, 0) << "the copy ended the process";
    EXPECT_LT(peak, 64) << "MiB taken for a copy of a 180-byte file";
    EXPECT_THROW(ImageBox().LoadFromMemory(ImageBox::FormatTiff, tiff), AppError);
}

} // namespace picbasket::test
