#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/gdiplus/modGDIPlus.h"
#include "platform/metafile/Metafile.h"

#include <QImage>
#include <QPainter>

// The metafile reader and its two players on arbitrary bytes. The first byte
// chooses the route: byte % 2 == 0 reads the bytes as a metafile and plays it
// onto a small picture (the window's preview path), 1 writes them as ".wmf"
// ((byte / 2) % 2 == 0) or ".emf" and decodes the file through
// fncLoadPictureGDIPlus in size mode (byte / 4) % 3, as the load entry does. The
// rest is the file. Properties: a metafile the reader takes has a size of at
// least one pixel; a failed decode leaves the size outputs untouched.
namespace picbasket::fuzz {

namespace {

// Large enough to reach every drawing branch, small enough to keep thousands of
// inputs a second.
constexpr int targetSide = 48;

void playBytes(const QByteArray& bytes) {
    const auto metafile = Metafile::fromBytes(bytes);
    if (!metafile)
        return;
    fuzzCheck(metafile->size().width() >= 1 && metafile->size().height() >= 1,
              "a metafile the reader took has no size");
    QImage picture(targetSide, targetSide, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    metafile->play(painter, QRectF(0, 0, targetSide, targetSide));
}

void decodeFile(uint8_t choice, const QByteArray& bytes) {
    const QString path = writeFuzzFile(
        (choice / 2) % 2 == 0 ? QStringLiteral("picture.wmf") : QStringLiteral("picture.emf"), bytes);
    const int32_t sizeMode = (choice / 4) % 3;
    int32_t width = -7, height = -9;
    const QImage picture = fncLoadPictureGDIPlus(path, sizeMode, targetSide, targetSide, 0xFFFFFF,
                                                 true, width, height);
    if (picture.isNull())
        fuzzCheck(width == -7 && height == -9, "a failed decode changed the size outputs");
}

} // namespace

int fuzzMetafile(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    ensureFuzzEnvironment();
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);
    if (data[0] % 2 == 0)
        playBytes(bytes);
    else
        decodeFile(data[0], bytes);
    return 0;
}

} // namespace picbasket::fuzz
