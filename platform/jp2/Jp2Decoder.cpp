#include "platform/jp2/Jp2Decoder.h"
#include "core/RegularFile.h"

#include "core/AppError.h"
#include "platform/jp2/GrokSession.h"
#include "platform/jp2/Jp2Pixels.h"
#include "platform/jp2/Jp2StreamCheck.h"

#include <QFile>
#include <QFileInfo>

namespace picbasket::jp2 {

namespace {

// Files beyond this are refused before reading (4 GiB).
constexpr qint64 maxFileBytes = qint64(1) << 32;

QByteArray readWholeFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        raiseError(err::FileNotFound, QStringLiteral("File not found: \"%1\"").arg(path));
    if (info.size() > maxFileBytes)
        raiseError(err::InvalidPicture, QStringLiteral("\"%1\" is too large to decode").arg(path));
    QFile file(path);
    if (!openRegularFile(file))
        raiseError(err::PermissionDenied, QStringLiteral("Cannot read \"%1\"").arg(path));
    QByteArray bytes = file.readAll();
    if (bytes.size() != info.size())
        raiseError(err::DeviceIO, QStringLiteral("Cannot read \"%1\" whole").arg(path));
    return bytes;
}

[[noreturn]] void decodeFailed(const QString& path) {
    const QString detail = GrokSession::errorText();
    raiseError(err::InvalidPicture,
               QStringLiteral("The JPEG 2000 file \"%1\" cannot be decoded%2")
                   .arg(path, detail.isEmpty() ? QString() : QStringLiteral(": ") + detail));
}

// Adds the file name to a damaged-file error raised while checking.
template <class Body> auto namingFile(const QString& path, Body&& body) {
    try {
        return body();
    } catch (const AppError& e) {
        raiseError(e.number(), QStringLiteral("%1 (\"%2\")").arg(e.description(), path));
    }
}

} // namespace

QImage decodeFile(const QString& path) {
    QByteArray bytes = readWholeFile(path);
    namingFile(path, [&] { checkStreamIsWhole(bytes); });
    GrokSession::ensureStarted();
    GrokSession::clearMessages();

    grk_stream_params stream{};
    stream.buf = reinterpret_cast<uint8_t*>(bytes.data());
    stream.len = static_cast<size_t>(bytes.size());
    grk_decompress_core_params core{};
    grk_decompress_set_default_params(&core);
    GrokRef codec(grk_decompress_init(&stream, &core));
    grk_header_info header{};
    if (!codec || !grk_decompress_read_header(codec.get(), &header))
        decodeFailed(path);
    const grk_image* image = grk_decompress_get_composited_image(codec.get());
    if (!image)
        decodeFailed(path);
    namingFile(path, [&] { checkDecodable(*image); });
    if (!grk_decompress(codec.get(), nullptr))
        decodeFailed(path);
    image = grk_decompress_get_composited_image(codec.get());
    if (!image)
        decodeFailed(path);
    return namingFile(path, [&] { return imageFromComponents(*image); });
}

} // namespace picbasket::jp2
