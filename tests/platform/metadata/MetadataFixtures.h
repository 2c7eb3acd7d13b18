#pragma once
#include <QByteArray>
#include <QString>
#include <exiv2/exiv2.hpp>

#include <functional>
#include <vector>

namespace picbasket::test {

// A small baseline JPEG (QImage's encoder) of w x h pixels in a gradient.
void writeJpeg(const QString& path, int width = 16, int height = 8);

// Adds metadata to an existing file through Exiv2's own API, the way other
// programs would have written it.
void editWithExiv2(const QString& path,
                   const std::function<void(Exiv2::ExifData&, Exiv2::IptcData&)>& edit);

// A grey TIFF of `pages` pages (8 x 4 pixels each, page p filled from p * 40).
void writeMultiPageTiff(const QString& path, int pages);
// The pixel bytes of each page of a TIFF, read through libtiff.
std::vector<QByteArray> tiffPagePixels(const QString& path);

// The entropy-coded scan of a JPEG: from its start-of-scan marker to the end.
QByteArray jpegScan(const QByteArray& jpeg);

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace picbasket::test
