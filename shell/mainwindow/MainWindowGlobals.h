#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace picbasket {

// Thumbnail box sizes in pixels of the folder list and the image basket, copied from
// the setup record at start and by the settings dialog, written back at exit.
inline int32_t ThumbnailWidth = 40;
inline int32_t ThumbnailHeight = 40;
inline int32_t BasketThumbnailWidth = 40;
inline int32_t BasketThumbnailHeight = 40;
// The folder the basket list files were last opened from or saved to.
inline QString BasketFolder;
// Which metadata list the attribute commands act on: 0 EXIF, 1 IPTC.
inline uint8_t MetadataTab = 0;
// The tool tips of the six main panes while tips are on: folder tree, folder list,
// preview, basket, EXIF list, IPTC list.
inline QStringList ToolTipTexts;
// The previewed image as loaded, and as it stood after the last confirmed task
// (implicitly shared copies: the box detaches from them on its first edit).
inline QImage OriginalImageData;
inline QImage ConfirmedImageData;

} // namespace picbasket
