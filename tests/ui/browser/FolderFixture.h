#pragma once
#include "platform/imagebox/ImageBox.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

namespace picbasket::test {

// A picture with a diagonal split, so thumbnails of different files differ.
inline QImage splitPicture(int width, int height, QColor one, QColor two) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, x * height > y * width ? one : two);
    return image;
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// The mixed folder: a.jpg 64x48, B.JPG 30x50, a three-page c.tiff 20x10, a damaged
// d.tif, e.bmp 20x20, x.pcx 16x12, notes.txt and a hidden .h.jpg.
inline void writeMixedFolder(const QString& folder) {
    QDir().mkpath(folder);
    const QDir dir(folder);
    splitPicture(64, 48, Qt::red, Qt::blue).save(dir.filePath("a.jpg"), "JPEG");
    splitPicture(30, 50, Qt::green, Qt::black).save(dir.filePath("B.JPG"), "JPEG");
    ImageBox box;
    box.setImage(splitPicture(20, 10, Qt::yellow, Qt::darkRed));
    for (int page = 0; page < 3; ++page)
        box.AppendPageTiff(dir.filePath("c.tiff"));
    writeBytes(dir.filePath("d.tif"), QByteArray("II*\0\x08\0\0\0\xff\xff", 10));
    splitPicture(20, 20, Qt::cyan, Qt::magenta).save(dir.filePath("e.bmp"), "BMP");
    box.setImage(splitPicture(16, 12, Qt::gray, Qt::white));
    box.SaveToFile(dir.filePath("x.pcx"));
    writeBytes(dir.filePath("notes.txt"), "not a picture");
    splitPicture(8, 8, Qt::red, Qt::red).save(dir.filePath(".h.jpg"), "JPEG");
}

// The listing pattern of the main window.
inline QString folderPattern() {
    return QStringLiteral(
        "*.jpg*;*.jpeg*;*.tif*;*.tiff*;*.gif*;*.bmp*;*.pcx*;*.png*;*.wbm*;*.wbmp*;*.psd*;"
        "*.psp*;*.pic*;*.pix*;*.pxr*;*.xpm*;*.raw*;*.dcx*;*.sgi*;*.tga*;*.wmf*;*.emf*;*.pbm*;"
        "*.pgm*;*.ppm*;*.jng*;*.mng*;*.koa*;*.jp2*;*.jpc*;*.pcd*;*.ras*;*.tga*;*.cut*;*.iff*;"
        "*.lbm*");
}

} // namespace picbasket::test
