// The main window's metadata pane: the EXIF and IPTC lists, their tab strip and
// the readers that fill them.
#include "shell/mainwindow/frmMain.h"

#include "browser/modBasketList.h"
#include "metadata/modMetadata.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/TabStrip.h"
#include "shell/mainwindow/MainWindowGlobals.h"
#include "shell/mainwindow/MainWindowPictures.h"

namespace picbasket {

namespace {

// The pencil of the edit button, on a clear ground so it sits on selected rows too.
QImage editableMark() {
    QImage mark = fncMainWindowPicture(QStringLiteral("picMetadataEdit"))
                      .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < mark.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(mark.scanLine(y));
        for (int x = 0; x < mark.width(); ++x)
            if (line[x] == qRgb(255, 255, 255))
                line[x] = qRgba(0, 0, 0, 0);
    }
    return mark;
}

} // namespace

void frmMain::buildMetadataLists() {
    ilMetadata = std::make_unique<ImageList>();
    ilMetadata->Add(editableMark(), EditableMarkKey);
    lvExif->setSmallIcons(ilMetadata.get());
    lvIPTC->setSmallIcons(ilMetadata.get());
    connect(tbsMetadata, &TabStrip::Click, this, &frmMain::tbsMetadata_Click);
    connect(lvExif, &ListView::ColumnClick, this, &frmMain::lvExif_ColumnClick);
    connect(lvIPTC, &ListView::ColumnClick, this, &frmMain::lvIPTC_ColumnClick);
}

void frmMain::ReadFileEXIFInfo(ImageBox& box, ListView* list, const QString& filePath) {
    picbasket::ReadFileEXIFInfo(box, list, filePath);
}

void frmMain::ReadFileIPTCInfo(ImageBox& box, ListView* list, const QString& filePath) {
    picbasket::ReadFileIPTCInfo(box, list, filePath);
}

// Tab 1 shows the EXIF list and its tool bar, tab 2 the IPTC list and its own.
void frmMain::tbsMetadata_Click() {
    const bool exif = tbsMetadata->SelectedItem() != 2;
    lvExif->setVisible(exif);
    picEXIFBar->setVisible(exif);
    lvIPTC->setVisible(!exif);
    picIPTCBar->setVisible(!exif);
    MetadataTab = exif ? 0 : 1;
}

void frmMain::lvExif_ColumnClick(int column) {
    subSortListViewByColumn(*lvExif, column);
}

void frmMain::lvIPTC_ColumnClick(int column) {
    subSortListViewByColumn(*lvIPTC, column);
}

} // namespace picbasket
