#include "platform/imagebox/PcxWriter.h"
#include "core/AppError.h"
#include "platform/imagebox/ColorFormatCopy.h"

#include <IL/il.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <mutex>
#include <vector>

namespace picbasket::imagebox {

namespace {

void initialiseDevil() {
    static std::once_flag once;
    std::call_once(once, [] {
        ilInit();
        ilEnable(IL_FILE_OVERWRITE);
    });
}

// One DevIL image name, deleted on scope exit.
class DevilImage {
public:
    DevilImage() {
        ilGenImages(1, &name_);
        ilBindImage(name_);
    }
    ~DevilImage() { ilDeleteImages(1, &name_); }
    DevilImage(const DevilImage&) = delete;
    DevilImage& operator=(const DevilImage&) = delete;

private:
    ILuint name_ = 0;
};

std::vector<ILubyte> packed(const QImage& image, int bytesPerPixel) {
    const size_t row = size_t(image.width()) * size_t(bytesPerPixel);
    std::vector<ILubyte> data(row * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(&data[row * size_t(y)], image.constScanLine(y), row);
    return data;
}

void loadIndexed(const QImage& image) {
    std::vector<ILubyte> data = packed(image, 1);
    if (!ilTexImage(ILuint(image.width()), ILuint(image.height()), 1, 1, IL_COLOUR_INDEX,
                    IL_UNSIGNED_BYTE, data.data()))
        raiseError(err::Unexpected, "DevIL could not take the image");
    std::vector<ILubyte> palette(256 * 3, 0);
    const QList<QRgb> colours = image.colorTable();
    for (int i = 0; i < colours.size() && i < 256; ++i) {
        palette[size_t(i) * 3] = ILubyte(qRed(colours[i]));
        palette[size_t(i) * 3 + 1] = ILubyte(qGreen(colours[i]));
        palette[size_t(i) * 3 + 2] = ILubyte(qBlue(colours[i]));
    }
    ilRegisterPal(palette.data(), 256 * 3, IL_PAL_RGB24);
}

void loadColour(const QImage& image) {
    std::vector<ILubyte> data = packed(image, 3);
    if (!ilTexImage(ILuint(image.width()), ILuint(image.height()), 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
                    data.data()))
        raiseError(err::Unexpected, "DevIL could not take the image");
}

// DevIL of this age writes these formats only to a named file: the image goes to
// a private temporary file with the format's extension and is read back.
QByteArray writeThroughDevil(const QImage& image, bool indexed, const char* extension) {
    // DevIL is one global state: one writer at a time.
    static std::mutex devil;
    std::lock_guard lock(devil);
    initialiseDevil();
    DevilImage bound;
    if (indexed)
        loadIndexed(image);
    else
        loadColour(image);
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.") + QLatin1String(extension));
    if (!folder.isValid() || !ilSaveImage(QFile::encodeName(path).constData()))
        raiseError(err::Unexpected,
                   QStringLiteral("DevIL could not write the %1 image").arg(extension));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        raiseError(err::Unexpected, "The written image could not be read back");
    return file.readAll();
}

} // namespace

QByteArray writePcx(const QImage& source) {
    const bool indexed = source.format() == QImage::Format_Mono ||
                         source.format() == QImage::Format_Indexed8 ||
                         source.format() == QImage::Format_Grayscale8;
    return writeThroughDevil(indexed ? toPalette8(source) : toColour24(source), indexed, "pcx");
}

QByteArray writeSgi(const QImage& source) {
    return writeThroughDevil(toColour24(source), false, "sgi");
}

} // namespace picbasket::imagebox
