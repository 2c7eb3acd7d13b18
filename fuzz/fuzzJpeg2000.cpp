#include "core/AppError.h"
#include "engine/jpeg2000/modJPEG2000.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/jp2/Jp2StreamCheck.h"

// The JPEG 2000 stream check and the decoder behind it on arbitrary files. The
// first byte chooses the extension (byte % 3: ".jp2", ".j2k", ".jpc"); the rest
// is the file. Property: a file the check refuses is refused by the decoder too
// (the control then holds no
// picture).
namespace picbasket::fuzz {

namespace {

bool streamIsWhole(const QByteArray& bytes) {
    try {
        jp2::checkStreamIsWhole(bytes);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

} // namespace

int fuzzJpeg2000(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    ensureFuzzEnvironment();
    static const char* const extensions[] = {"jp2", "j2k", "jpc"};
    const QString extension = QString::fromLatin1(extensions[data[0] % 3]);
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);
    const bool whole = streamIsWhole(bytes);
    const QString path = writeFuzzFile(QStringLiteral("stream.") + extension, bytes);
    AxImage control;
    QImage picture;
    try {
        picture = fncLoadJPEG2000(control, 0, path, extension);
    } catch (const AppError&) {
        // The decoder's refusal: the control keeps holding nothing.
    }
    fuzzCheck(whole || picture.isNull(), "the decoder made a picture of a file the check refuses");
    return 0;
}

} // namespace picbasket::fuzz
