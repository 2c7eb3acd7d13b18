// Placement of the main window's panes and controls.
#include "shell/mainwindow/frmMain.h"

#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "core/Convert.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/TabStrip.h"
#include "platform/foldertree/FolderTreeview.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

namespace picbasket {

namespace {

// Widgets refuse negative sizes; a pane too small for its margins leaves the control
// at no size instead.
void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, std::max(0, width), std::max(0, height));
}

void setWidth(QWidget* widget, int width) {
    widget->resize(std::max(0, width), widget->height());
}

} // namespace

QString fncZoomText(double zoom) {
    return QString::number(static_cast<long long>(roundHalfEven(zoom))) + QLatin1Char('%');
}

void subFitPreview(QWidget* holder, ImageBoxView* view, QScrollBar* hsb, QScrollBar* vsb) {
    view->hide();
    ImageBox& box = view->box();
    int width = box.ImageWidth();
    int height = box.ImageHeight();
    if (box.AutoZoom()) {
        box.setWidth(holder->width());
        box.setHeight(holder->height());
        width = box.DisplayWidth();
        height = box.DisplayHeight();
    } else if (box.HasImage()) {
        width = box.DisplayWidth();
        height = box.DisplayHeight();
    }
    const int left = width < holder->width() ? (holder->width() - width) / 2 : 0;
    const int top = height < holder->height() ? (holder->height() - height) / 2 : 0;
    view->setGeometry(left, top, width, height);
    hsb->setRange(0, std::max(0, width - holder->width()));
    hsb->setPageStep(std::max(1, holder->width()));
    hsb->setEnabled(width > holder->width());
    vsb->setRange(0, std::max(0, height - holder->height()));
    vsb->setPageStep(std::max(1, holder->height()));
    vsb->setEnabled(height > holder->height());
    view->show();
}

void frmMain::subResize() {
    if (isMinimized())
        return;
    place(splMain, 0, 0, width(), height() - (sbMain->isVisibleTo(this) ? sbMain->height() : 0));
    place(sbMain, 0, height() - sbMain->height(), width(), sbMain->height());
    // A hidden splitter receives its resize event only when shown; the panes are
    // needed at their sizes now, so the tree is laid out from the top at once.
    for (Splitter* splitter : {splMain, splRight, splLeft, splView}) {
        QResizeEvent resized(splitter->size(), splitter->size());
        QCoreApplication::sendEvent(splitter, &resized);
    }

    // Folder tree pane.
    {
        const int W = picBrowse->width(), H = picBrowse->height();
        const int T = tbsBrowse->TabFixedHeight();
        setWidth(lblBrowse, W);
        lblBrowse->move(0, 0);
        const int L = lblBrowse->height();
        place(tbsBrowse, 2, L, W - 2, H - L);
        place(picFileSystem, 4, tbsBrowse->y() + T + 5, tbsBrowse->width() - 6,
              tbsBrowse->height() - T - 8);
        place(ftvBrowse, 0, 0, picFileSystem->width(), picFileSystem->height());
        place(lvEdit, 4, tbsBrowse->y() + T + 5, tbsBrowse->width() - 6,
              tbsBrowse->height() - T - 8);
    }
    // Metadata pane; its tool bars stand in the strip the tab strip leaves at the right.
    {
        const int W = PicMetadata->width(), H = PicMetadata->height();
        const int T = tbsMetadata->TabFixedHeight();
        setWidth(lblMetadata, W);
        lblMetadata->move(0, 0);
        const int L = lblMetadata->height();
        place(tbsMetadata, 0, L, W - picEXIFBar->width(), H - L);
        place(lvExif, 2, tbsMetadata->y() + T + 4, tbsMetadata->width() - 6,
              tbsMetadata->height() - T - 8);
        lvIPTC->setGeometry(lvExif->geometry());
        picEXIFBar->setGeometry(W - picEXIFBar->width(), L + T, picEXIFBar->width(),
                                std::max(0, H - L - T));
        picIPTCBar->setGeometry(picEXIFBar->x(), picEXIFBar->y(), picIPTCBar->width(),
                                picEXIFBar->height());
    }
    // Folder file-list pane.
    {
        const int W = picFolder->width(), H = picFolder->height();
        setWidth(lblFolder, W);
        const int L = lblFolder->height();
        place(lvFolder, 2, L, W - 2, H - L - 2);
    }
    layOutPreviewArea();
    // Image-basket pane.
    {
        const int W = PicQueue->width(), H = PicQueue->height();
        setWidth(lblQueue, W);
        lblQueue->move(0, 0);
        place(lvPages, picLiveBar->x() + picLiveBar->width(), picLiveBar->y() + 2,
              W - picLiveBar->width() - 2, H - lblQueue->height() - 2);
    }
    subFitPreview(PicViewImage, ibMain, hsbView, vsbView);
    if (ibMain->box().HasImage()) {
        ibMain->show();
        for (QPushButton* button : {cmdPreviewPrint, CmdPreviewEdit, cmdPreviewSave}) {
            button->setEnabled(true);
            button->update();
        }
    } else {
        ibMain->hide();
        for (QPushButton* button : {cmdPreviewSave, CmdPreviewEdit, cmdPreviewPrint})
            button->setEnabled(false);
    }
    PicViewImage->show();
    subSetStatusPanelText(fncZoomText(ibMain->box().Zoom()));
    for (QWidget* panel : taskPanels)
        panel->move(0, 0);
}

// The preview pane in its three layouts: the edit view (the preview covers the window
// above the status bar, with the explorer bar at its right), the explorer view with
// the metadata pane hidden (the preview takes the metadata pane's place too) and the
// explorer view. Panes that are not part of the current layout are hidden, so nothing
// detached shows through.
void frmMain::layOutPreviewArea() {
    const bool editView =
        splView->LeftOrTopControl() == nullptr && splMain->LeftOrTopControl() == nullptr;
    const bool metadataHidden = !editView && splView->LeftOrTopControl() == nullptr &&
                                splView->RightOrBottomControl() == nullptr;
    const int B = picToolbarPreview->height();
    setWidth(picToolbarPreview, picView->width());
    picToolbarPreview->move(0, 0);
    auto placeScrollBars = [this] {
        const QRect image = PicViewImage->geometry();
        place(vsbView, image.x() + image.width(), image.y(), vsbView->sizeHint().width(),
              image.height());
        place(hsbView, image.x(), image.y() + image.height(), image.width(),
              hsbView->sizeHint().height());
    };
    const int vsbWidth = vsbView->sizeHint().width();
    const int hsbHeight = hsbView->sizeHint().height();

    for (QWidget* other : {static_cast<QWidget*>(splLeft), picBrowse, splMain->picSplitter(),
                           splRight->picSplitter()})
        other->setVisible(!editView);
    splView->picSplitter()->setVisible(!editView && !metadataHidden);
    PicMetadata->setVisible(!editView && !metadataHidden);

    if (editView) {
        place(splRight, 0, 0, splMain->width(), splMain->height());
        place(splView, 0, 0, splRight->width(), splRight->height());
        place(picView, 0, 0, width(),
              height() - (sbMain->isVisibleTo(this) ? sbMain->height() : 0));
        splRight->raise();
        const int W = picView->width(), H = picView->height();
        place(PicViewImage, 0, B, W - vsbWidth - eb->width(), H - B - hsbHeight);
        placeScrollBars();
        place(eb, vsbView->x() + vsbView->width(), PicViewImage->y(), eb->width(),
              PicViewImage->height());
        eb->show();
    } else {
        if (metadataHidden)
            place(picView, 0, 0, splView->width(), splView->height());
        const int W = picView->width(), H = picView->height();
        if (metadataHidden)
            place(PicViewImage, 0, B, W - vsbWidth - 10, H - B - hsbHeight);
        else
            place(PicViewImage, 1, B + 1, W - vsbWidth - 1, H - B - hsbHeight - 2);
        placeScrollBars();
        eb->hide();
    }
    vsbView->show();
    hsbView->show();
}

void frmMain::subShowMetadataPane(bool exif, bool iptc) {
    // The edit view keeps the preview detached; only the metadata pane's side is
    // set, so that leaving the edit view finds the pane as the shown file wants it.
    if (fncIsEditView()) {
        splView->setRightOrBottomControl(exif || iptc ? PicMetadata : nullptr);
        subResize();
        return;
    }
    if (!exif && !iptc) {
        if (splView->LeftOrTopControl() && splView->RightOrBottomControl()) {
            splView->setLeftOrTopControl(nullptr);
            splView->setRightOrBottomControl(nullptr);
        }
    } else if (!splView->LeftOrTopControl() && !splView->RightOrBottomControl()) {
        splView->setLeftOrTopControl(picView);
        splView->setRightOrBottomControl(PicMetadata);
    }
    subResize();
}

void frmMain::subSetStatusPanelText(const QString& text) {
    sbMain->Panel(QStringLiteral("status"))->setText(text);
}

} // namespace picbasket
