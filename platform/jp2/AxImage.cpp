#include "platform/jp2/AxImage.h"

#include "core/AppError.h"
#include "platform/jp2/Jp2Decoder.h"
#include "platform/jp2/Jp2Encoder.h"

namespace picbasket {

AxImage& AxImage::instance() {
    static AxImage control;
    return control;
}

int32_t AxImage::FormatFromExtension(const QString& extension) const {
    const QString ext = extension.trimmed().toLower();
    if (ext == QLatin1String("jp2"))
        return FormatJp2;
    if (ext == QLatin1String("j2k") || ext == QLatin1String("jpc") || ext == QLatin1String("j2c"))
        return FormatCodestream;
    return FormatUnknown;
}

void AxImage::SetLoadOption(int32_t option) {
    if (option != 1)
        raiseError(err::InvalidProcedureCall,
                   QStringLiteral("Unknown JPEG 2000 load option %1").arg(option));
    loadOption_ = option;
}

void AxImage::LoadFile(const QString& path, int32_t /*format*/) {
    image_ = jp2::decodeFile(path);
}

void AxImage::Refresh() {}

QImage AxImage::GetBitmapHandle(DeviceContext /*context*/) const {
    return image_;
}

int32_t AxImage::PaletteHandle() const {
    return 0;
}

void AxImage::SetBitmapHandle(const QImage& image) {
    image_ = image;
    icc_.clear();
    xDpi_ = yDpi_ = 0;
}

void AxImage::SetColourProfile(const QByteArray& icc) {
    icc_ = icc;
}

void AxImage::SetCaptureResolution(double xDpi, double yDpi) {
    xDpi_ = xDpi;
    yDpi_ = yDpi;
}

void AxImage::SetCompressionRate(int32_t rate) {
    if (rate < jp2::lowestRate || rate > jp2::losslessRate)
        raiseError(
            err::InvalidProcedureCall,
            QStringLiteral("The JPEG 2000 compression rate must be 1 to 25, not %1").arg(rate));
    rate_ = rate;
}

namespace {

jp2::Container containerFor(const QString& path, int32_t format) {
    if (format != AxImage::FormatJp2 && format != AxImage::FormatCodestream)
        raiseError(
            err::InvalidProcedureCall,
            QStringLiteral("\"%1\" has no JPEG 2000 extension (jp2, j2k, jpc or j2c)").arg(path));
    return format == AxImage::FormatJp2 ? jp2::Container::Jp2 : jp2::Container::Codestream;
}

} // namespace

void AxImage::SaveFile(const QString& path, int32_t format) {
    jp2::encodeImage(image_, path, containerFor(path, format), rate_, {icc_, xDpi_, yDpi_});
}

void AxImage::SaveFileAndRelease(const QString& path, int32_t format) {
    QImage image = std::move(image_);
    image_ = QImage();
    jp2::encodeImage(std::move(image), path, containerFor(path, format), rate_,
                     {icc_, xDpi_, yDpi_});
}

} // namespace picbasket
