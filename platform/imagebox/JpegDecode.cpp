#include "platform/imagebox/JpegDecode.h"

#include "core/AppError.h"
#include "core/ImageLimits.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <sys/mman.h>

namespace picbasket::imagebox {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
    bool damaged = false;
};

[[noreturn]] void errorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// A warning (level -1) is libjpeg's word for corrupt data it goes on with filler;
// trace messages (levels 0 and up) say nothing about the data.
void emitMessage(j_common_ptr info, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && !manager->damaged) {
        manager->damaged = true;
        (*info->err->format_message)(info, manager->message);
    }
}

void freeBuffer(void* buffer) {
    std::free(buffer);
}

// One block for all rows, aligned for huge pages and asking for them: faulting in
// tens of megabytes 4 KiB at a time costs more than the decode itself.
uchar* allocateRows(size_t bytes) {
    constexpr size_t hugePage = size_t(2) << 20;
    const size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
    void* buffer = std::aligned_alloc(hugePage, rounded);
#ifdef MADV_HUGEPAGE
    if (buffer)
        madvise(buffer, rounded, MADV_HUGEPAGE);
#endif
    return static_cast<uchar*>(buffer);
}

// The resolution as FreeImage gives it: dots per inch or per centimetre from the
// JFIF header, else 72 dots per inch.
void setResolution(QImage& image, const jpeg_decompress_struct& info) {
    constexpr int defaultDotsPerMeter = 2835;
    image.setDotsPerMeterX(defaultDotsPerMeter);
    image.setDotsPerMeterY(defaultDotsPerMeter);
    if (info.X_density == 0 || info.Y_density == 0)
        return;
    if (info.density_unit == 1) {
        image.setDotsPerMeterX(int(info.X_density / 0.0254 + 0.5));
        image.setDotsPerMeterY(int(info.Y_density / 0.0254 + 0.5));
    } else if (info.density_unit == 2) {
        image.setDotsPerMeterX(int(info.X_density) * 100);
        image.setDotsPerMeterY(int(info.Y_density) * 100);
    }
}

} // namespace

QImage decodeColourJpeg(const QByteArray& bytes) {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.emit_message = emitMessage;
    // Everything that can jump lives in `info`; the buffer is owned once the
    // picture holds it.
    uchar* volatile rows = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        std::free(rows);
        raiseError(err::Unexpected, QStringLiteral("The image data is damaged: %1")
                                        .arg(QString::fromLocal8Bit(errors.message)));
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.num_components != 3 ||
        (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB)) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    const qint64 width = info.image_width, height = info.image_height;
    if (!isWithinImageLimits(width, height)) {
        jpeg_destroy_decompress(&info);
        raiseError(err::Unexpected, "The image has no size the box can hold");
    }
    info.out_color_space = JCS_RGB;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    const qsizetype bytesPerLine = (width * 3 + 3) / 4 * 4;
    rows = allocateRows(size_t(bytesPerLine) * size_t(height));
    if (!rows) {
        jpeg_destroy_decompress(&info);
        raiseError(err::OutOfMemory);
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rows + qsizetype(info.output_scanline) * bytesPerLine;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    const bool damaged = errors.damaged;
    QImage image(rows, int(width), int(height), bytesPerLine, QImage::Format_RGB888, freeBuffer,
                 rows);
    rows = nullptr;
    setResolution(image, info);
    jpeg_destroy_decompress(&info);
    if (damaged)
        raiseError(err::Unexpected, QStringLiteral("The image data is damaged: %1")
                                        .arg(QString::fromLocal8Bit(errors.message)));
    return image;
}

} // namespace picbasket::imagebox
