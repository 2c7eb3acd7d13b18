#pragma once
#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>
#include <cstdint>

namespace picbasket {

// Our stand-in for the image-processing control (csXImage): one image with its
// properties and operations. The held image is a QImage in one of these formats:
//   Format_Mono (1 bit, two-entry colour table), Format_Indexed8 (palette),
//   Format_Grayscale8, Format_Grayscale16, Format_RGB888 (24-bit colour),
//   Format_ARGB32 (colour with alpha), Format_RGBX64 / Format_RGBA64 (16 bits per channel).
// Members are spread over several files by subsystem: ImageBox.cpp (the image, its
// files and memory copies), ImageBox_edit.cpp and friends (edits, selection,
// merging, text, display), ImageBox_metadata.cpp (EXIF and IPTC).
class ImageBox : public QObject {
    Q_OBJECT

public:
    explicit ImageBox(QObject* parent = nullptr);
    ~ImageBox() override;

    // The held image; an empty QImage when the box holds none.
    const QImage& image() const { return image_; }
    void setImage(const QImage& image);

    // ---- The image, its files and memory copies (ImageBox.cpp) ----

    // Format codes of SaveToMemory, LoadFromMemory and EncodedSize.
    enum FormatCode : int {
        FormatBmp = 0,
        FormatGif = 1,
        FormatJpeg = 2,
        FormatPcx = 3,
        FormatPng = 4,
        FormatWbmp = 5,
        FormatPsd = 6,
        FormatTiff = 7,
        FormatPdf = 8,
    };

    // Reads the file (page PageIndex of a TIFF). A file it cannot read raises
    // AppError 0x8000FFFF, leaves the image as it was and sets LoadedFlag.
    void LoadFromFile(const QString& path);
    // Number of pages of a TIFF, 1 for other formats; a damaged file raises 0x8000FFFF.
    int PageCountOfFile(const QString& path) const;
    // Writes the image in the format the extension names, with the save options.
    void SaveToFile(const QString& path);
    // Adds the image as the last page of a TIFF or PDF (created when missing).
    void AppendPageTiff(const QString& path);
    void AppendPagePdf(const QString& path);
    // A lossless snapshot (format 7, TIFF) of the image, and its restoration.
    QByteArray SaveToMemory(int format) const;
    void LoadFromMemory(int format, const QByteArray& data);
    // Bytes the image takes encoded in that format code with the current options.
    int64_t EncodedSize(int format) const;

    void Clear();
    bool HasImage() const { return !image_.isNull(); }
    int ImageWidth() const { return image_.width(); }
    int ImageHeight() const { return image_.height(); }
    int BitsPerPixel() const;
    QImage BitmapHandle() const { return image_; }
    void setBitmapHandle(const QImage& image) { setImage(image); }
    QImage Picture() const { return image_; }

    // 1-based page that LoadFromFile reads from a TIFF.
    int PageIndex() const { return pageIndex_; }
    void setPageIndex(int page) { pageIndex_ = page; }
    // True when the last LoadFromFile failed.
    bool LoadedFlag() const { return loadedFlag_; }

    // Save options: ColorFormat 0 24-bit colour, 1 8-bit palette, 2 8-bit grey, 6 1-bit.
    int ColorFormat() const { return colorFormat_; }
    void setColorFormat(int value);
    int JpegQuality() const { return jpegQuality_; }
    void setJpegQuality(int value);
    bool JpegProgressive() const { return jpegProgressive_; }
    void setJpegProgressive(bool value) { jpegProgressive_ = value; }
    bool GifCompressed() const { return gifCompressed_; }
    void setGifCompressed(bool value) { gifCompressed_ = value; }
    // TiffCompression: 0 none, 1 PackBits, 2 CCITT Group 4 (on a 1-bit copy).
    int TiffCompression() const { return tiffCompression_; }
    void setTiffCompression(int value);
    bool UseTransparentColor() const { return useTransparentColor_; }
    void setUseTransparentColor(bool value) { useTransparentColor_ = value; }
    // OLE colour 0x00BBGGRR: the transparent colour of GIF and PNG when
    // UseTransparentColor is set, and the fill of rotations and canvas growth.
    uint32_t BackgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(uint32_t oleColor) { backgroundColor_ = oleColor; }

    QString Tag() const { return tag_; }
    void setTag(const QString& text) { tag_ = text; }
    QString AppTitle() const { return appTitle_; }
    void setAppTitle(const QString& text) { appTitle_ = text; }

private:
    // EXIF and IPTC travel with the image (ImageBox_metadata.cpp): read after a
    // successful LoadFromFile, written after a successful SaveToFile (JPEG, TIFF).
    void readMetadataFrom(const QString& path);
    void writeMetadataTo(const QString& path, int format);

    QImage image_;
    int pageIndex_ = 1;
    bool loadedFlag_ = false;
    int colorFormat_ = 0;
    int jpegQuality_ = 75;
    bool jpegProgressive_ = false;
    bool gifCompressed_ = true;
    int tiffCompression_ = 0;
    bool useTransparentColor_ = false;
    uint32_t backgroundColor_ = 0x00FFFFFF;
    QString tag_;
    QString appTitle_;
};

} // namespace picbasket
