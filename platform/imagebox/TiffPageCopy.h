#pragma once
#include <QByteArray>
#include <QImage>
#include <memory>

namespace picbasket::imagebox {

// Splitting a multipage TIFF without decoding it: a page is copied as stored (its
// strips or tiles byte for byte, with the tags that say how to read them), and its
// thumbnail is decoded row by row straight into a small picture. Both work on the
// whole file held in memory and may run on several threads at once, each call
// with a libtiff handle of its own.

// A one-page TIFF holding page `page` (0-based) of `tiff` exactly as stored. Empty
// when the page is laid out in a way that cannot be copied undecoded (old-style
// JPEG, sub-images); the caller then decodes it. Damaged data raises AppError
// 0x8000FFFF.
QByteArray copyTiffPage(const QByteArray& tiff, int page);

class TiffHandle;

// The pages of one TIFF copied in page order, each directory read once, as a
// split of the whole file needs: going to page n from the first page for every
// page would cost the square of the page count. Not for use on two threads at once.
class TiffPageWalk {
public:
    explicit TiffPageWalk(const QByteArray& tiff);
    ~TiffPageWalk();
    TiffPageWalk(const TiffPageWalk&) = delete;
    TiffPageWalk& operator=(const TiffPageWalk&) = delete;

    // Page `page` (0-based, no lower than the page copied last) as copyTiffPage
    // gives it.
    QByteArray copy(int page);

private:
    std::unique_ptr<TiffHandle> handle_;
    int current_ = 0;
};

// The width and height of page `page`; raises for damaged data.
QSize tiffPageSize(const QByteArray& tiff, int page);

// Page `page` averaged down, area by area, to the largest size within `width` x
// `height` with its aspect kept (as QImage::scaled sizes it), without the whole
// page ever being held: 1-bit and 8-bit grey and 8-bit RGB pages in strips. A null
// image for any other layout (the caller decodes the page whole) and for a page
// at most twice that size each way; damaged data raises AppError 0x8000FFFF.
QImage reducedTiffPage(const QByteArray& tiff, int page, int width, int height);

} // namespace picbasket::imagebox
