#include "platform/imagebox/TiffMemoryFile.h"

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

} // namespace picbasket::imagebox
