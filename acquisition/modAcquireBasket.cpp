#include "acquisition/modAcquireBasket.h"

#include "acquisition/AcquisitionTarget.h"
#include "browser/modBasketList.h"
#include "controls/common/PaneWindow.h"
#include "core/fileinfo/clsFileInfo.h"
#include "core/modFileSystem.h"
#include "engine/batch/BasketRows.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/gdiplus/modGDIPlus.h"
#include "platform/imagebox/ImageBoxView.h"

namespace picbasket {

namespace {

constexpr uint32_t White = 0xFFFFFF;

// A screen is hundreds of times the basket box: it is averaged down to four times the
// box first, so the bicubic redraw does little work for nearly the same thumbnail.
QImage basketThumbnailOf(const QImage& picture) {
    const int w = std::max(1, BasketThumbnailWidth);
    const int h = std::max(1, BasketThumbnailHeight);
    QImage source = picture;
    if (source.width() > 8 * w || source.height() > 8 * h)
        source = source.scaled(4 * w, 4 * h, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return fncResizePictureGDIPlus(source, source.width(), source.height(), picturetype::Bitmap, w,
                                   h, sizemode::Box, White, true);
}

void setPanel(AcquisitionTarget& window, const char* key, const QString& text) {
    StatusBar* bar = window.acquisitionPaneWindow().statusBar();
    if (StatusPanel* panel = bar->Panel(QString::fromLatin1(key)))
        panel->setText(text);
}

// The panels a preview of a basket row shows: a basket row is always one page. A new
// picture has no EXIF; IPTC only when the box carries some.
void showFilePanels(AcquisitionTarget& window, const BasketRow& row, bool iptc) {
    setPanel(window, "filename", FileInfo().fName32bit());
    setPanel(window, "pages", QStringLiteral("1 page(s)"));
    setPanel(window, "resolution", row.SubItem(1) + QStringLiteral("     ") + row.SubItem(2));
    setPanel(window, "metadata",
             iptc ? QStringLiteral("Metadata -  IPTC") : QStringLiteral("No metadata"));
}

} // namespace

int subAddPreviewFileToBasket(AcquisitionTarget& window, const QString& path) {
    ImageBox& box = window.previewView()->box();
    const QImage thumbnail = basketThumbnailOf(box.Picture());
    if (thumbnail.isNull())
        return 0;
    clsFileInfo& info = FileInfo();
    info.setFilePath(path);
    BasketRow row;
    row.Text = clsFileInfo::StripFileFromPath(fncStripFileExtension(path));
    row.Tag = path;
    row.SubItems = {QStringLiteral("%1 X %2").arg(box.ImageWidth()).arg(box.ImageHeight()),
                    info.fSizeFormated(0), info.fType(), path};
    const int added = window.addAcquiredBasketRow(row, thumbnail);
    window.setAcquiredFile(path);
    box.setTag(path);
    showFilePanels(window, row, box.HasIptc());
    window.showAcquiredMetadata(box, path);
    return added;
}

} // namespace picbasket
