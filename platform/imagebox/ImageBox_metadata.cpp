#include "platform/imagebox/ImageBox.h"

namespace picbasket {

// The EXIF/IPTC member file (issue 11) fills these two.
void ImageBox::readMetadataFrom(const QString&) {}

void ImageBox::writeMetadataTo(const QString&, int) {}

} // namespace picbasket
