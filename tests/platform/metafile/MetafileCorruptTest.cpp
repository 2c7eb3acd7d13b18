#include "platform/gdiplus/modGDIPlus.h"
#include "platform/metafile/Metafile.h"
#include "tests/platform/metafile/MetafileFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;
using namespace metafixture;

namespace {

// Whether the bytes give a picture: recognised, and every record played.
bool draws(const QByteArray& bytes) {
    const auto metafile = Metafile::fromBytes(bytes);
    if (!metafile)
        return false;
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    return metafile->play(painter, QRectF(0, 0, 64, 64));
}

// Replaces bytes at an offset of a copy.
QByteArray patched(QByteArray bytes, qsizetype at, const QByteArray& with) {
    bytes.replace(at, with.size(), with);
    return bytes;
}

QByteArray wmfWith(const QByteArray& record) {
    return WmfWriter().record(0x020C, {100, 100}).raw(record).file(true, QRect(0, 0, 100, 100));
}

QByteArray emfWith(uint32_t type, const QByteArray& params) {
    return EmfWriter().record(type, params).file(QRect(0, 0, 2540, 2540));
}

} // namespace

TEST(MetafileCorrupt, EveryCutCopyGivesNothing) {
    for (const QByteArray& whole : {wmfScene(true), wmfScene(false), emfScene()}) {
        ASSERT_TRUE(draws(whole));
        for (qsizetype length = 0; length < whole.size(); ++length)
            EXPECT_FALSE(draws(whole.left(length)))
                << "cut at " << length << " of " << whole.size();
    }
}

TEST(MetafileCorrupt, RecordsThatLie) {
    const QByteArray dib = dib24(QImage(4, 4, QImage::Format_RGB32));
    // A bitmap whose header claims 64 x 64 pixels while 4 x 4 are there.
    const QByteArray bigDib = patched(dib, 4, le32({64, 64}));
    const QByteArray bareRecord = le32({3}) + le16({0x041B});
    struct Row {
        const char* what;
        QByteArray bytes;
    } rows[] = {
        {"wmf polyline counting more points than it holds",
         wmfWith(le32({3 + 5}) + le16({0x0325, 1000, 0, 0, 10, 10}))},
        {"wmf polypolygon counts beyond the record",
         wmfWith(le32({3 + 4}) + le16({0x0538, 1, 50, 0, 0}))},
        {"wmf record longer than the file", wmfWith(le32({100000}) + le16({0x041B, 0, 0, 0, 0}))},
        {"wmf record of length 0", wmfWith(le32({0}) + le16({0x041B}))},
        {"wmf rectangle with its parameters missing", wmfWith(bareRecord)},
        {"wmf text longer than its record", wmfWith(le32({3 + 2}) + le16({0x0521, 200, 0}))},
        {"wmf bitmap claiming more rows than it has",
         wmfWith(le32({3 + 11 + bigDib.size() / 2}) +
                 le16({0x0F43, 0x0020, 0x00CC, 0, 4, 4, 0, 0, 10, 10, 0, 0}) + bigDib)},
        {"wmf bitmap header cut short",
         wmfWith(le32({3 + 11 + 10}) + le16({0x0F43, 0x0020, 0x00CC, 0, 4, 4, 0, 0, 10, 10, 0, 0}) +
                 dib.left(20))},
        {"emf polygon counting more points than it holds",
         emfWith(86, le32({0, 0, 0, 0, 100000}) + le16({0, 0, 5, 5}))},
        {"emf polypolygon counts beyond the total",
         emfWith(91, le32({0, 0, 0, 0, 2, 3, 3, 3}) + le16({0, 0, 5, 5, 9, 9}))},
        {"emf text offset past the record",
         emfWith(84, le32({0, 0, 0, 0, 1, 0, 0, 0, 0, 5, 4000, 0, 0, 0, 0, 0, 0}))},
        {"emf bitmap offsets past the record",
         emfWith(80, le32({0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 80, 40, 9000, 64, 0, 0x00CC0020, 4, 4}) +
                         dib.left(40))},
        {"emf bitmap claiming more rows than it has",
         emfWith(80, le32({0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 80, 40, 120, dib.size() - 40, 0,
                           0x00CC0020, 4, 4}) +
                         bigDib)},
        {"emf clip region with more rectangles than bytes",
         emfWith(75, le32({48, 1, 32, 1, 500, 0, 0, 0, 0, 0, 0, 0, 0, 0}))},
        {"emf record size not a multiple of four",
         patched(emfWith(43, le32({0, 0, 10, 10})), 88 + 4, le32({23}))},
        {"emf record size past the end",
         patched(emfWith(43, le32({0, 0, 10, 10})), 88 + 4, le32({0x7FFFFFF0}))},
        {"emf header size past the end", patched(emfScene(), 4, le32({0x100000}))},
        {"emf without its end record", emfScene().chopped(20)},
    };
    for (const Row& row : rows)
        EXPECT_FALSE(draws(row.bytes)) << row.what;
}

TEST(MetafileCorrupt, JunkAfterAValidHeaderGivesNothingThroughTheFileDecoder) {
    QTemporaryDir dir;
    QByteArray junk = wmfScene(true).left(40);
    for (int i = 0; i < 4000; ++i)
        junk.append(char((i * 7919) % 251));
    for (const QByteArray& bytes : {junk, emfScene().left(88) + junk}) {
        QFile file(dir.filePath("junk.wmf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        int32_t w = 3, h = 4;
        EXPECT_TRUE(
            fncLoadPictureGDIPlus(file.fileName(), 2, 160, 120, 0xFFFFFF, true, w, h).isNull());
        EXPECT_EQ(QSize(w, h), QSize(3, 4));
    }
}
