#include "platform/scan/ScanPageAssembler.h"

#include "core/AppError.h"

#include <QRgba64>
#include <cstring>

namespace picbasket {

namespace {

constexpr int MaxPixelsPerLine = 1 << 18;

[[noreturn]] void refuse(const QString& why) {
    raiseError(err::Unexpected, QStringLiteral("The scanner sent a page that cannot be read: ") + why);
}

bool isBand(ScanFrameFormat::Kind kind) {
    return kind == ScanFrameFormat::Red || kind == ScanFrameFormat::Green ||
           kind == ScanFrameFormat::Blue;
}

} // namespace

int64_t ScanPageAssembler::bytesNeededPerLine(const ScanFrameFormat& format) {
    const int64_t channels = format.kind == ScanFrameFormat::Rgb ? 3 : 1;
    return (int64_t(format.pixelsPerLine) * channels * format.depth + 7) / 8;
}

int ScanPageAssembler::bandIndex() const {
    switch (current_.kind) {
    case ScanFrameFormat::Green:
        return 1;
    case ScanFrameFormat::Blue:
        return 2;
    default:
        return 0;
    }
}

void ScanPageAssembler::beginFrame(const ScanFrameFormat& format) {
    if (inFrame_ || complete_)
        refuse(QStringLiteral("a frame began before the last one ended"));
    if (format.depth != 1 && format.depth != 8 && format.depth != 16)
        refuse(QStringLiteral("%1 bits per sample").arg(format.depth));
    if (format.pixelsPerLine <= 0 || format.pixelsPerLine > MaxPixelsPerLine)
        refuse(QStringLiteral("%1 pixels per line").arg(format.pixelsPerLine));
    if (format.lines == 0 || format.lines < -1)
        refuse(QStringLiteral("%1 lines").arg(format.lines));
    if (format.bytesPerLine < bytesNeededPerLine(format) || format.bytesPerLine > MaxPixelsPerLine * 6)
        refuse(QStringLiteral("%1 bytes per line").arg(format.bytesPerLine));
    if (format.lines > 0 && int64_t(format.lines) * format.bytesPerLine > MaxPageBytes)
        refuse(QStringLiteral("a page too large"));
    const bool anyBandSeen = bandSeen_[0] || bandSeen_[1] || bandSeen_[2];
    if (anyBandSeen) {
        if (!isBand(format.kind) || format.depth != first_.depth ||
            format.pixelsPerLine != first_.pixelsPerLine ||
            format.bytesPerLine != first_.bytesPerLine)
            refuse(QStringLiteral("colour bands of different layouts"));
    } else {
        first_ = format;
    }
    current_ = format;
    const int band = bandIndex();
    if (isBand(format.kind) && bandSeen_[band])
        refuse(QStringLiteral("the same colour band twice"));
    data_[band].clear();
    if (format.lines > 0)
        data_[band].reserve(qsizetype(int64_t(format.lines) * format.bytesPerLine));
    inFrame_ = true;
}

void ScanPageAssembler::addData(const unsigned char* data, size_t length) {
    if (!inFrame_)
        refuse(QStringLiteral("data outside a frame"));
    QByteArray& buffer = data_[bandIndex()];
    const int64_t limit = current_.lines > 0 ? int64_t(current_.lines) * current_.bytesPerLine
                                             : MaxPageBytes;
    if (int64_t(buffer.size()) + int64_t(length) > limit)
        refuse(current_.lines > 0 ? QStringLiteral("more data than the frame holds")
                                  : QStringLiteral("a page too large"));
    buffer.append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void ScanPageAssembler::endFrame() {
    if (!inFrame_)
        refuse(QStringLiteral("a frame ended that never began"));
    inFrame_ = false;
    // A frame may end short of the height it announced; only whole lines count.
    const int lines = int(data_[bandIndex()].size() / current_.bytesPerLine);
    if (lines < 1)
        refuse(QStringLiteral("an empty frame"));
    if (!isBand(current_.kind)) {
        lines_ = lines;
        complete_ = true;
        return;
    }
    const bool firstBand = !(bandSeen_[0] || bandSeen_[1] || bandSeen_[2]);
    lines_ = firstBand ? lines : std::min(lines_, lines);
    bandSeen_[bandIndex()] = true;
    const bool allBands = bandSeen_[0] && bandSeen_[1] && bandSeen_[2];
    if (current_.lastFrame && !allBands)
        refuse(QStringLiteral("a colour page without all three bands"));
    complete_ = allBands;
}

uint16_t ScanPageAssembler::sample16(const QByteArray& data, int y, int x, int channel,
                                     int channels) const {
    const auto* line =
        reinterpret_cast<const unsigned char*>(data.constData()) + qsizetype(y) * first_.bytesPerLine;
    const int index = x * channels + channel;
    switch (first_.depth) {
    case 1:
        return (line[index >> 3] & (0x80 >> (index & 7))) ? 0xFFFF : 0;
    case 8:
        return uint16_t(line[index] * 257);
    default: {
        uint16_t value;
        std::memcpy(&value, line + 2 * index, 2);
        return value;
    }
    }
}

QImage ScanPageAssembler::greyPage() const {
    const int width = first_.pixelsPerLine;
    const QByteArray& data = data_[0];
    const auto format = first_.depth == 1   ? QImage::Format_Mono
                        : first_.depth == 8 ? QImage::Format_Grayscale8
                                            : QImage::Format_Grayscale16;
    QImage image(width, lines_, format);
    if (image.isNull())
        raiseError(err::OutOfMemory);
    const qsizetype rowBytes = qsizetype(bytesNeededPerLine(first_));
    for (int y = 0; y < lines_; ++y) {
        const char* in = data.constData() + qsizetype(y) * first_.bytesPerLine;
        std::memcpy(image.scanLine(y), in, size_t(rowBytes));
    }
    if (first_.depth == 1) {
        // The scanner's set bit is black; the box's 1-bit images have black at 0.
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        image.invertPixels();
    }
    return image;
}

QImage ScanPageAssembler::colourPage() const {
    const int width = first_.pixelsPerLine;
    const bool wide = first_.depth == 16;
    QImage image(width, lines_, wide ? QImage::Format_RGBX64 : QImage::Format_RGB888);
    if (image.isNull())
        raiseError(err::OutOfMemory);
    const bool interleaved = first_.kind == ScanFrameFormat::Rgb;
    for (int y = 0; y < lines_; ++y) {
        uchar* out = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            uint16_t rgb[3];
            for (int c = 0; c < 3; ++c)
                rgb[c] = interleaved ? sample16(data_[0], y, x, c, 3) : sample16(data_[c], y, x, 0, 1);
            if (wide) {
                const QRgba64 pixel = QRgba64::fromRgba64(rgb[0], rgb[1], rgb[2], 0xFFFF);
                std::memcpy(out + 8 * qsizetype(x), &pixel, 8);
            } else {
                for (int c = 0; c < 3; ++c)
                    out[3 * x + c] = uchar(rgb[c] >> 8);
            }
        }
    }
    return image;
}

QImage ScanPageAssembler::page() const {
    if (!complete_)
        refuse(QStringLiteral("an unfinished page"));
    return first_.kind == ScanFrameFormat::Grey ? greyPage() : colourPage();
}

void ScanPageAssembler::reset() {
    *this = ScanPageAssembler();
}

} // namespace picbasket
