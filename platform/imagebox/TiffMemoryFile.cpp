#include "platform/imagebox/TiffMemoryFile.h"
#include "core/AppError.h"

#include <cstdarg>

#include <algorithm>
#include <cstring>

namespace picbasket::imagebox {

namespace {

tmsize_t readBytes(thandle_t handle, void* buffer, tmsize_t size) {
    auto* file = static_cast<TiffMemoryFile*>(handle);
    const qint64 n = std::clamp<qint64>(file->data.size() - file->pos, 0, size);
    if (n > 0)
        std::memcpy(buffer, file->data.constData() + file->pos, size_t(n));
    file->pos += n;
    return tmsize_t(n);
}

tmsize_t writeBytes(thandle_t handle, void* buffer, tmsize_t size) {
    auto* file = static_cast<TiffMemoryFile*>(handle);
    const qint64 end = file->pos + size;
    if (end > file->data.size()) {
        if (end > file->data.capacity())
            file->data.reserve(std::max<qint64>(end, 2 * file->data.capacity()));
        file->data.resize(qsizetype(end), '\0');
    }
    std::memcpy(file->data.data() + file->pos, buffer, size_t(size));
    file->pos = end;
    return size;
}

toff_t seekTo(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<TiffMemoryFile*>(handle);
    const qint64 base = whence == SEEK_CUR ? file->pos : whence == SEEK_END ? file->data.size() : 0;
    const qint64 target = base + qint64(offset);
    if (target < 0 || target > (qint64(1) << 32))
        return toff_t(-1);
    file->pos = target;
    return toff_t(target);
}

int closeFile(thandle_t) {
    return 0;
}

toff_t sizeOf(thandle_t handle) {
    return toff_t(static_cast<TiffMemoryFile*>(handle)->data.size());
}

int mapFile(thandle_t handle, void** base, toff_t* size) {
    auto* file = static_cast<TiffMemoryFile*>(handle);
    *base = const_cast<char*>(file->data.constData());
    *size = toff_t(file->data.size());
    return 1;
}

int noMap(thandle_t, void**, toff_t*) {
    return 0;
}

void noUnmap(thandle_t, void*, toff_t) {}

} // namespace

TIFF* openTiffMemoryFile(TiffMemoryFile& file, const char* mode, bool mapped,
                         TIFFOpenOptions* options) {
    return TIFFClientOpenExt("memory", mode, &file, readBytes, writeBytes, seekTo, closeFile,
                             sizeOf, mapped ? mapFile : noMap, noUnmap, options);
}

namespace {

QString messageText(const char* module, const char* format, va_list args) {
    return QString::fromUtf8(module ? module : "") + ": " + QString::vasprintf(format, args);
}

int onHandleError(TIFF*, void* user, const char* module, const char* format, va_list args) {
    auto* handle = static_cast<TiffHandle*>(user);
    va_list copy;
    va_copy(copy, args);
    handle->noteError(messageText(module, format, copy));
    va_end(copy);
    return handle->passesOn() ? 0 : 1;
}

// A tag whose value lies past the end of the data is only a warning to libtiff,
// but it means the file was cut short.
int onHandleWarning(TIFF*, void* user, const char* module, const char* format, va_list args) {
    auto* handle = static_cast<TiffHandle*>(user);
    va_list copy;
    va_copy(copy, args);
    const QString text = messageText(module, format, copy);
    va_end(copy);
    if (text.contains("IO error"))
        handle->noteError(text);
    return handle->passesOn() ? 0 : 1;
}

} // namespace

TiffHandle::TiffHandle(const QByteArray& data, const char* mode, Reports reports)
    : file_{data, 0}, reports_(reports) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, onHandleError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, onHandleWarning, this);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(1) << 30);
    tif_ = openTiffMemoryFile(file_, mode, false, options);
    TIFFOpenOptionsFree(options);
    if (!tif_)
        fail("The TIFF data could not be opened");
}

TiffHandle::~TiffHandle() {
    if (tif_)
        TIFFClose(tif_);
}

void TiffHandle::noteError(const QString& text) {
    if (error_.isEmpty())
        error_ = text;
}

void TiffHandle::check(const QString& what) const {
    if (hasError())
        fail(what);
}

void TiffHandle::fail(const QString& what) const {
    raiseError(err::Unexpected, error_.isEmpty() ? what : what + " (" + error_ + ")");
}

void TiffHandle::setPage(int page) {
    if (page < 0 || page >= 65535 || !TIFFSetDirectory(tif_, tdir_t(page)))
        raiseError(err::Unexpected, QStringLiteral("The file has no page %1").arg(page + 1));
    check("The TIFF page could not be read");
}

QByteArray TiffHandle::finish() {
    TIFFClose(tif_);
    tif_ = nullptr;
    check("The TIFF data could not be written");
    return file_.data;
}

} // namespace picbasket::imagebox
