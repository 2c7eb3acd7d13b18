#include "tests/platform/metadata/MetadataFixtures.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <tiffio.h>

#include <memory>

namespace picbasket::test {

void writeJpeg(const QString& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x * 15, y * 30, 128));
        }
    }
    ASSERT_TRUE(image.save(path, "JPG", 90));
}

void editWithExiv2(const QString& path,
                   const std::function<void(Exiv2::ExifData&, Exiv2::IptcData&)>& edit) {
    std::unique_ptr<Exiv2::Image> image(
        Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString()).release());
    image->readMetadata();
    Exiv2::ExifData exif = image->exifData();
    Exiv2::IptcData iptc = image->iptcData();
    edit(exif, iptc);
    image->setExifData(exif);
    image->setIptcData(iptc);
    image->writeMetadata();
}

void writeMultiPageTiff(const QString& path, int pages) {
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    ASSERT_NE(tiff, nullptr);
    for (int page = 0; page < pages; ++page) {
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 8);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 4);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 4);
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tiff, TIFFTAG_PAGENUMBER, page, pages);
        for (int y = 0; y < 4; ++y) {
            unsigned char row[8];
            for (int x = 0; x < 8; ++x) {
                row[x] = static_cast<unsigned char>(page * 40 + y * 8 + x);
            }
            TIFFWriteScanline(tiff, row, uint32_t(y), 0);
        }
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
}

std::vector<QByteArray> tiffPagePixels(const QString& path) {
    std::vector<QByteArray> pages;
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tiff) {
        return pages;
    }
    do {
        uint32_t height = 0;
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
        QByteArray pixels;
        QByteArray row(TIFFScanlineSize(tiff), '\0');
        for (uint32_t y = 0; y < height; ++y) {
            TIFFReadScanline(tiff, row.data(), y, 0);
            pixels += row;
        }
        pages.push_back(pixels);
    } while (TIFFReadDirectory(tiff));
    TIFFClose(tiff);
    return pages;
}

QByteArray jpegScan(const QByteArray& jpeg) {
    // Walk the marker segments after SOI up to the start of scan.
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && uchar(jpeg[pos]) == 0xFF) {
        if (uchar(jpeg[pos + 1]) == 0xDA) {
            return jpeg.mid(pos);
        }
        pos += 2 + (uchar(jpeg[pos + 2]) << 8 | uchar(jpeg[pos + 3]));
    }
    return {};
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace picbasket::test
