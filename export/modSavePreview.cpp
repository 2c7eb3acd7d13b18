#include "export/modSavePreview.h"

#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/setup/modSetup.h"
#include "engine/jpeg2000/modJPEG2000.h"
#include "engine/loading/modFreeImage.h"
#include "export/frmSaveDialogExtensionAllFormats.h"
#include "export/modSaveDialogExtensionAllFormats.h"
#include "metadata/modMetadata.h"
#include "platform/imagebox/ColorFormatCopy.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/PcxWriter.h"
#include "platform/imagebox/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <functional>
#include <memory>

namespace picbasket {

namespace {

const QString Filter = QStringLiteral(
    "All supported files "
    "(*.*)|*.bmp;*.tif;*.tiff;*.gif;*.jpg;*.jpeg;*.jpe;*.jp2;*.jpc;*.png;*.pcx;*.psd;*.pdf;*.tga;"
    "*.pbm;*.pgm;*.ppm;*.sgi;*.xpm;*.wbm;*.wbmp;*.wap|TIF - Tag Image File "
    "(*.tif;*.tiff)|*.tif;*.tiff|BMP - Windows Bitmap (*.bmp)|*.bmp|GIF - CompuServe "
    "(*.gif)|*.gif|JPG - JPEG Group (*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe|JP2 - JPEG2000 JP2 "
    "(*.jp2;*.jpc)|*.jp2;*.jpc|PNG - Portable Network (*.png)|*.png|PCX - Zsoft Paintbrush "
    "(*.pcx)|*.pcx|PSD - Photoshop (*.psd)|*.psd|PDF - Portable Document (*.pdf)|*.pdf|WBM - "
    "Wireless Bitmap (*.wbm;*.wbmp)|*.wbm;*.wbmp");

// FreeImage's format codes and save flags used here.
constexpr int32_t FifPbm = 7, FifPgm = 11, FifPpm = 14, FifTarga = 17, FifTiff = 18,
                  FifWbmp = 19, FifXpm = 23;
constexpr int32_t TiffCcittFax3 = 0x1000, TiffLzw = 0x4000, TiffJpeg = 0x8000,
                  TiffDeflate = 0x0200;
constexpr int32_t PnmSaveAscii = 1;

// The box's save options as they were, put back when the save is over.
class SaveOptionsKept {
public:
    explicit SaveOptionsKept(ImageBox& box)
        : box_(box), colorFormat_(box.ColorFormat()), jpegQuality_(box.JpegQuality()),
          jpegProgressive_(box.JpegProgressive()), gifCompressed_(box.GifCompressed()),
          tiffCompression_(box.TiffCompression()),
          useTransparentColor_(box.UseTransparentColor()),
          backgroundColor_(box.BackgroundColor()) {}
    ~SaveOptionsKept() {
        box_.setColorFormat(colorFormat_);
        box_.setJpegQuality(jpegQuality_);
        box_.setJpegProgressive(jpegProgressive_);
        box_.setGifCompressed(gifCompressed_);
        box_.setTiffCompression(tiffCompression_);
        box_.setUseTransparentColor(useTransparentColor_);
        box_.setBackgroundColor(backgroundColor_);
    }
    SaveOptionsKept(const SaveOptionsKept&) = delete;
    SaveOptionsKept& operator=(const SaveOptionsKept&) = delete;

private:
    ImageBox& box_;
    int colorFormat_;
    int jpegQuality_;
    bool jpegProgressive_;
    bool gifCompressed_;
    int tiffCompression_;
    bool useTransparentColor_;
    uint32_t backgroundColor_;
};

// Text after the last "." in lower case; the whole name when there is none.
QString extensionOf(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? path : path.mid(dot + 1)).toLower();
}

// The transparent colour as pixels carry it: a system colour as it is painted now.
uint32_t pixelColor(OleColor color) {
    return isSystemColor(color) ? qColorToOle(oleToQColor(color)) : color;
}

void stamp(ImageBox& box) {
    box.SetExifAttribute(QStringLiteral("Software"), SoftwareName);
}

void setTransparency(ImageBox& box, uint8_t transparent, OleColor color) {
    box.setUseTransparentColor(transparent != 0);
    if (transparent != 0)
        box.setBackgroundColor(pixelColor(color));
}

// FreeImage adds its own extension to a name whose extension it lists only in
// another case ("X.TIF"); such a file, and one that gets more written into it
// (finish, given the file's name), is written under a lower-case temporary name
// beside it and renamed onto the name asked for when whole.
bool saveWithFreeImage(const QImage& picture, const QString& path, int32_t format, int32_t flags,
                       const std::function<void(const QString&)>& finish = {}) {
    int32_t fif = format;
    if (!finish && fncIsExtensionValid(format, path, Qt::CaseSensitive))
        return fncSavePicture(picture, path, fif, flags) != 0;
    QTemporaryFile reserved(QFileInfo(path).absolutePath() + "/.picbasket-XXXXXX." +
                            fncGetPrimaryExtension(format));
    if (!reserved.open())
        return false;
    const QString temporary = reserved.fileName();
    reserved.close();
    if (fncSavePicture(picture, temporary, fif, flags) == 0)
        return false;
    try {
        if (finish)
            finish(temporary);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(path).constData()) == 0)
        return true;
    QFile::remove(temporary);
    return false;
}

// The codings FreeImage writes for the box, which takes only none, PackBits and
// Group 4 itself. The file gets the box's metadata as the box's own TIFF does.
bool saveTiffWithFreeImage(ImageBox& box, const QString& path, const QImage& picture,
                           int32_t flags) {
    return saveWithFreeImage(picture, path, FifTiff, flags, [&](const QString& written) {
        box.WriteMetadataIntoSavedFile(written);
    });
}

bool saveTiff(ImageBox& box, const QString& path, int16_t compression) {
    stamp(box);
    if (compression < 3) {
        box.setTiffCompression(compression);
        box.SaveToFile(path);
        return true;
    }
    // FreeImage writes a colour image asked for Group 3 with LZW, and JPEG needs
    // grey or colour pixels: each gets the copy its coding takes.
    switch (compression) {
    case 3:
        return saveTiffWithFreeImage(box, path, imagebox::toMono(box.Picture()), TiffCcittFax3);
    case 4:
        return saveTiffWithFreeImage(box, path, box.Picture(), TiffLzw);
    case 5:
        return saveTiffWithFreeImage(box, path, imagebox::toColour24(box.Picture()), TiffJpeg);
    case 6:
        return saveTiffWithFreeImage(box, path, box.Picture(), TiffDeflate);
    default:
        raiseError(err::InvalidProcedureCall,
                   QString("%1 is no TIFF compression").arg(compression));
    }
}

// PBM takes one bit, PGM grey, PPM colour; the PNM option chooses ASCII or raw.
bool savePnm(ImageBox& box, const QString& path, const QString& extension) {
    const int32_t flags = Setup.SaveOptions.Formats.PNM.Format == 1 ? PnmSaveAscii : 0;
    if (extension == "pbm")
        return saveWithFreeImage(imagebox::toMono(box.Picture()), path, FifPbm, flags);
    if (extension == "pgm")
        return saveWithFreeImage(imagebox::toGreyPalette8(box.Picture()), path, FifPgm, flags);
    return saveWithFreeImage(imagebox::toColour24(box.Picture()), path, FifPpm, flags);
}

bool saveByExtension(ImageBox& box, const QString& path, AxImage& jpeg2000) {
    const typFormatOptions& f = Setup.SaveOptions.Formats;
    const QString ext = extensionOf(path);
    if (ext == "bmp") {
        box.SaveToFile(path);
    } else if (ext == "gif") {
        box.setGifCompressed(f.GIF.Compression != 0);
        setTransparency(box, f.GIF.Transparent, f.GIF.TransparentColor);
        box.SaveToFile(path);
    } else if (ext == "jp2" || ext == "jpc") {
        box.setColorFormat(0);
        const int16_t rate = f.JPEG2000.Lossy != 0 ? f.JPEG2000.Rate : int16_t(25);
        double xDpi = 0, yDpi = 0;
        box.CaptureResolution(xDpi, yDpi);
        subSaveJPEG2000(jpeg2000, box.Picture(), path, rate, box.IccProfile(), xDpi, yDpi);
    } else if (ext == "jpg" || ext == "jpeg" || ext == "jpe") {
        box.setJpegQuality(f.JPG.Quality);
        box.setColorFormat(f.JPG.ColorDepth == 1 ? 2 : 0);
        box.setJpegProgressive(f.JPG.Encoding != 0);
        stamp(box);
        box.SaveToFile(path);
    } else if (ext == "png") {
        box.setColorFormat(f.PNG.ColorDepth);
        if (box.ColorFormat() == 1)
            setTransparency(box, f.PNG.Transparent, f.PNG.TransparentColor);
        box.SaveToFile(path);
    } else if (ext == "tif" || ext == "tiff") {
        return saveTiff(box, path, f.TIFF.Compression);
    } else if (ext == "pcx") {
        stamp(box);
        box.SaveToFile(path);
    } else if (ext == "psd") {
        box.setColorFormat(0);
        box.SaveToFile(path);
    } else if (ext == "pdf") {
        box.SaveToFile(path);
    } else if (ext == "wbm" || ext == "wbmp") {
        box.setColorFormat(6);
        box.SaveToFile(path);
    } else if (ext == "wap") {
        return saveWithFreeImage(imagebox::toMono(box.Picture()), path, FifWbmp, 0);
    } else if (ext == "tga") {
        const QImage picture = box.Picture();
        return saveWithFreeImage(picture.hasAlphaChannel()
                                     ? picture.convertToFormat(QImage::Format_ARGB32)
                                     : imagebox::toColour24(picture),
                                 path, FifTarga, 0);
    } else if (ext == "xpm") {
        return saveWithFreeImage(imagebox::toColour24(box.Picture()), path, FifXpm, 0);
    } else if (ext == "pbm" || ext == "pgm" || ext == "ppm") {
        return savePnm(box, path, ext);
    } else if (ext == "sgi") {
        imagebox::writeWholeFile(path, imagebox::writeSgi(box.Picture()));
    }
    return true;
}

// A save that could not keep all the metadata says what it left out. Only the
// JPEG and TIFF saves carry it.
void tellWhatWasLeftOut(const ImageBox& box, const QString& path) {
    const QString ext = extensionOf(path);
    const bool carries = ext == "jpg" || ext == "jpeg" || ext == "jpe" || ext == "tif" ||
                         ext == "tiff";
    const QStringList leftOut = carries ? box.MetadataLeftOut() : QStringList();
    if (leftOut.isEmpty())
        return;
    QStringList lines{QStringLiteral("The file was saved, but without some of the picture's "
                                     "metadata:")};
    for (const QString& what : leftOut)
        lines << QStringLiteral("- ") + what + QStringLiteral(".");
    msgBox(joinLines(lines), mb::Information);
}

} // namespace

const QString& SavePreviewFilter() {
    return Filter;
}

bool fncSavePreviewImage(ImageBox& imageBox, const QString& path, AxImage& jpeg2000) {
    try {
        const SaveOptionsKept kept(imageBox);
        return saveByExtension(imageBox, path, jpeg2000);
    } catch (const AppError& error) {
        subGlobalErrorHandler(error.description(), error.number(), error.line(),
                              QStringLiteral("fncSavePreviewImage"));
    } catch (...) {
        reportCurrentException(QStringLiteral("fncSavePreviewImage"));
    }
    return false;
}

QString fncSavePreviewToFile_Dialog(ImageBox& imageBox, QWidget* owner, AxImage& jpeg2000) {
    QString saved;
    errorTail(QStringLiteral("fncSavePreviewToFile_Dialog"), [&] {
        CurrentActivity = QStringLiteral("saving pages to a single new file");
        int32_t filterIndex = 0;
        QString path;
        {
            auto panel = std::make_unique<frmSaveDialogExtensionAllFormats>();
            // The dialog opens where the image shown came from, when that folder is there.
            const QFileInfo shown(imageBox.Tag());
            const QString folder =
                !imageBox.Tag().isEmpty() && shown.absoluteDir().exists() ? shown.absolutePath()
                                                                          : QString();
            path = fncShowFileDialogEx(QString(), Filter, filterIndex,
                                       QStringLiteral("Save preview to an image format"), false,
                                       panel.get(), false, owner, folder);
        }
        if (path.isEmpty())
            return;
        if (!fncSavePreviewImage(imageBox, path, jpeg2000)) {
            msgBox(joinLines({"The file could not be saved!", "Please try again."}),
                   mb::Information);
            return;
        }
        saved = path;
        tellWhatWasLeftOut(imageBox, path);
    });
    return saved;
}

} // namespace picbasket
