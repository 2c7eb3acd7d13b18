#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

namespace picbasket {

// The device context a caller names when it asks for the decoded bitmap. A QImage
// does not depend on a device, so the value is accepted and not used.
using DeviceContext = std::intptr_t;

// Our JPEG 2000 control: it holds one image, decodes JPEG 2000 files into it and
// encodes it to JPEG 2000 files, over the Grok library. The members are the ones
// the coding module calls; they are virtual so that tests can watch the calls.
// One instance serves the whole program (instance()); the main window hands it out
// as its AxImage1.
class AxImage {
public:
    // The format codes FormatFromExtension gives and LoadFile and SaveFile take.
    static constexpr int32_t FormatUnknown = -1;
    static constexpr int32_t FormatJp2 = 1;
    static constexpr int32_t FormatCodestream = 2;

    AxImage() = default;
    virtual ~AxImage() = default;
    AxImage(const AxImage&) = delete;
    AxImage& operator=(const AxImage&) = delete;

    // The instance that lives as long as the program.
    static AxImage& instance();

    // "jp2" is the JP2 file, "j2k", "jpc" and "j2c" the bare codestream (any case);
    // anything else FormatUnknown, which SaveFile refuses.
    virtual int32_t FormatFromExtension(const QString& extension) const;
    // 1 (the only option): decode at full resolution with every quality layer.
    virtual void SetLoadOption(int32_t option);
    // Decodes the file into the control; the content decides between JP2 and
    // codestream. On failure (AppError) the control keeps the image it held.
    virtual void LoadFile(const QString& path, int32_t format);
    // The stock repaint: the control shows nothing, so there is nothing to redraw.
    virtual void Refresh();
    // The image the control holds (empty when none).
    virtual QImage GetBitmapHandle(DeviceContext context) const;
    // No palette handle exists for a QImage: always 0.
    virtual int32_t PaletteHandle() const;
    // The image the next SaveFile encodes.
    virtual void SetBitmapHandle(const QImage& image);
    // The 1..25 rate of the option dialogs: 25 lossless, 1 to 24 lossy at
    // (26 - rate) x 2 : 1. Other values raise error 5.
    virtual void SetCompressionRate(int32_t rate);
    // Encodes the held image to path in the given format; the file appears whole or
    // not at all.
    virtual void SaveFile(const QString& path, int32_t format);
    // Encodes as SaveFile does, but hands the held image to the encoder, which lets
    // go of it once it has read the samples: a caller keeping no other copy has
    // those pixels freed during the encode. The control holds no image afterwards,
    // whether the encode succeeded or not.
    virtual void SaveFileAndRelease(const QString& path, int32_t format);

    // What a JP2 file written next carries besides the pixels: the colour profile
    // of the image's colour space and the resolution it was captured at (dots per
    // inch, 0 for none). A new image set clears both.
    virtual void SetColourProfile(const QByteArray& icc);
    virtual void SetCaptureResolution(double xDpi, double yDpi);

    int32_t compressionRate() const { return rate_; }
    int32_t loadOption() const { return loadOption_; }

private:
    QImage image_;
    QByteArray icc_;
    double xDpi_ = 0;
    double yDpi_ = 0;
    int32_t rate_ = 20;
    int32_t loadOption_ = 1;
};

} // namespace picbasket
