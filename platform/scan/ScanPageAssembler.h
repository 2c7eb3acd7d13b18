#pragma once
#include <QByteArray>
#include <QImage>
#include <array>
#include <cstddef>
#include <cstdint>

namespace picbasket {

// The layout of one frame a scanner sends, as its parameters describe it.
struct ScanFrameFormat {
    // Grey: one sample per pixel. Rgb: red, green and blue interleaved. Red, Green,
    // Blue: one band of a three-pass colour page.
    enum Kind { Grey, Rgb, Red, Green, Blue };
    Kind kind = Grey;
    bool lastFrame = true;
    int bytesPerLine = 0;
    int pixelsPerLine = 0;
    // -1 when the height is not known before the end (a hand scanner).
    int lines = 0;
    // Bits per sample: 1, 8 or 16 (16-bit samples in the host's byte order).
    int depth = 8;
};

// Turns the frames of one page into an image of the box's formats:
//   grey 1 bit (a set bit is black)   -> Format_Mono, table {black, white}
//   grey 8 / 16 bits                  -> Format_Grayscale8 / Format_Grayscale16
//   colour 1 bit (a set bit is full)  -> Format_RGB888
//   colour 8 / 16 bits                -> Format_RGB888 / Format_RGBX64
// Colour comes in one RGB frame or in three band frames (any order, each once).
// A frame of unknown height grows until its data ends. Every method raises
// AppError 0x8000FFFF with a readable description on a layout it cannot take
// (depth, sizes, a band twice, more data than the frame holds).
class ScanPageAssembler {
public:
    // Pages larger than this many bytes of samples are refused.
    static constexpr int64_t MaxPageBytes = int64_t(1) << 31;

    void beginFrame(const ScanFrameFormat& format);
    void addData(const unsigned char* data, size_t length);
    void endFrame();
    // True once the last frame has ended.
    bool complete() const { return complete_; }
    // The finished page; raises when the page is not complete.
    QImage page() const;
    // Forgets everything, ready for the next page.
    void reset();

private:
    static int64_t bytesNeededPerLine(const ScanFrameFormat& format);
    int bandIndex() const;
    QImage greyPage() const;
    QImage colourPage() const;
    // The sample of channel c (0 for grey) at pixel x of line y, as 16 bits.
    uint16_t sample16(const QByteArray& data, int y, int x, int channel, int channels) const;

    ScanFrameFormat first_;
    ScanFrameFormat current_;
    bool inFrame_ = false;
    bool complete_ = false;
    int lines_ = 0;
    // One buffer for a grey or RGB frame; one per band for three-pass colour.
    std::array<QByteArray, 3> data_;
    std::array<bool, 3> bandSeen_{};
};

} // namespace picbasket
