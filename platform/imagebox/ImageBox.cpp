#include "platform/imagebox/ImageBox.h"
#include "core/AppError.h"

namespace picbasket {

ImageBox::ImageBox(QObject* parent) : QObject(parent) {}

ImageBox::~ImageBox() = default;

void ImageBox::setImage(const QImage& image) { image_ = image; }

void ImageBox::LoadFromFile(const QString&) { raiseError(err::Unexpected, "Not yet built"); }

int ImageBox::PageCountOfFile(const QString&) const { return 1; }

void ImageBox::SaveToFile(const QString&) { raiseError(err::Unexpected, "Not yet built"); }

void ImageBox::AppendPageTiff(const QString&) { raiseError(err::Unexpected, "Not yet built"); }

void ImageBox::AppendPagePdf(const QString&) { raiseError(err::Unexpected, "Not yet built"); }

QByteArray ImageBox::SaveToMemory(int) const { raiseError(err::Unexpected, "Not yet built"); }

void ImageBox::LoadFromMemory(int, const QByteArray&) {
    raiseError(err::Unexpected, "Not yet built");
}

int64_t ImageBox::EncodedSize(int) const { raiseError(err::Unexpected, "Not yet built"); }

void ImageBox::Clear() { image_ = QImage(); }

int ImageBox::BitsPerPixel() const { return image_.isNull() ? 0 : image_.depth(); }

void ImageBox::setColorFormat(int value) { colorFormat_ = value; }

void ImageBox::setJpegQuality(int value) { jpegQuality_ = value; }

void ImageBox::setTiffCompression(int value) { tiffCompression_ = value; }

} // namespace picbasket
