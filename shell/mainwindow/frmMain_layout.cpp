// Placement of the main window's panes and controls.
#include "shell/mainwindow/frmMain.h"

#include "controls/common/PaneControls.h"
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
#include <QLayout>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace picbasket {

void frmMain::subResize() {
    if (isMinimized())
        return;
    placeControl(splMain, 0, 0, width(), height() - (sbMain->isVisibleTo(this) ? sbMain->height() : 0));
    placeControl(sbMain, 0, height() - sbMain->height(), width(), sbMain->height());
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
        setControlWidth(lblBrowse, W);
        lblBrowse->move(0, 0);
        const int L = lblBrowse->height();
        placeControl(tbsBrowse, 2, L, W - 2, H - L);
        placeControl(folderTree_.host, 4, tbsBrowse->y() + T + 5, tbsBrowse->width() - 6,
              tbsBrowse->height() - T - 8);
        placeControl(folderTree_.tree, 0, 0, folderTree_.host->width(), folderTree_.host->height());
        // The task basket's tab: its tool bar on top, the list below it.
        const int bar = edit_->taskListBar()->sizeHint().height();
        placeControl(edit_->taskListBar(), 4, tbsBrowse->y() + T + 5, tbsBrowse->width() - 6, bar);
        placeControl(edit_->taskList(), 4, edit_->taskListBar()->y() + bar + 2,
                     tbsBrowse->width() - 6, tbsBrowse->height() - T - 10 - bar);
    }
    // Metadata pane; its tool bars stand in the strip the tab strip leaves at the right.
    metadata_->layOut();
    folder_->layOut();
    layOutPreviewArea();
    basket_->layOut();
    subFitPreview(preview_->imageHolder(), preview_->box(), preview_->hScrollBar(), preview_->vScrollBar());
    if (preview_->box()->box().HasImage()) {
        preview_->box()->show();
        for (QPushButton* button :
             {preview_->printButton(), preview_->editButton(), preview_->saveButton()}) {
            button->setEnabled(true);
            button->update();
        }
    } else {
        preview_->box()->hide();
        for (QPushButton* button :
             {preview_->saveButton(), preview_->editButton(), preview_->printButton()})
            button->setEnabled(false);
    }
    preview_->imageHolder()->show();
    subSetStatusPanelText(fncZoomText(fncShownZoom(preview_->box()->box())));
    for (QWidget* panel : edit_->optionPanels())
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
    auto placeScrollBars = [this] {
        const QRect image = preview_->imageHolder()->geometry();
        placeControl(preview_->vScrollBar(), image.x() + image.width(), image.y(),
              preview_->vScrollBar()->sizeHint().width(), image.height());
        placeControl(preview_->hScrollBar(), image.x(), image.y() + image.height(), image.width(),
              preview_->hScrollBar()->sizeHint().height());
    };
    const int vsbWidth = preview_->vScrollBar()->sizeHint().width();
    const int hsbHeight = preview_->hScrollBar()->sizeHint().height();

    for (QWidget* other : {static_cast<QWidget*>(splLeft), picBrowse, splMain->picSplitter(),
                           splRight->picSplitter()})
        other->setVisible(!editView);
    splView->picSplitter()->setVisible(!editView && !metadataHidden);
    metadata_->setVisible(!editView && !metadataHidden);

    // picView first takes its place for the layout; the tool bar then spans it (its
    // rows depend on that width) and the image holder starts below it.
    if (editView) {
        placeControl(splRight, 0, 0, splMain->width(), splMain->height());
        placeControl(splView, 0, 0, splRight->width(), splRight->height());
        placeControl(preview_->view(), 0, 0, width(),
              height() - (sbMain->isVisibleTo(this) ? sbMain->height() : 0));
        splRight->raise();
    } else if (metadataHidden) {
        placeControl(preview_->view(), 0, 0, splView->width(), splView->height());
    }
    const int B = preview_->layOutPreviewToolbar();

    if (editView) {
        const int W = preview_->view()->width(), H = preview_->view()->height();
        placeControl(preview_->imageHolder(), 0, B, W - vsbWidth - edit_->explorerBar()->width(),
                     H - B - hsbHeight);
        placeScrollBars();
        placeControl(edit_->explorerBar(),
                     preview_->vScrollBar()->x() + preview_->vScrollBar()->width(),
                     preview_->imageHolder()->y(), edit_->explorerBar()->width(),
                     preview_->imageHolder()->height());
        edit_->explorerBar()->show();
    } else {
        const int W = preview_->view()->width(), H = preview_->view()->height();
        if (metadataHidden)
            placeControl(preview_->imageHolder(), 0, B, W - vsbWidth - 10, H - B - hsbHeight);
        else
            placeControl(preview_->imageHolder(), 1, B + 1, W - vsbWidth - 1, H - B - hsbHeight - 2);
        placeScrollBars();
        edit_->explorerBar()->hide();
    }
    preview_->vScrollBar()->show();
    preview_->hScrollBar()->show();
}

void frmMain::subShowMetadataPane(bool exif, bool iptc) {
    // The edit view keeps the preview detached; only the metadata pane's side is
    // set, so that leaving the edit view finds the pane as the shown file wants it.
    if (edit_->fncIsEditView()) {
        splView->setRightOrBottomControl(exif || iptc ? metadata_ : nullptr);
        subResize();
        return;
    }
    if (!exif && !iptc) {
        if (splView->LeftOrTopControl() && splView->RightOrBottomControl()) {
            splView->setLeftOrTopControl(nullptr);
            splView->setRightOrBottomControl(nullptr);
        }
    } else if (!splView->LeftOrTopControl() && !splView->RightOrBottomControl()) {
        splView->setLeftOrTopControl(preview_->view());
        splView->setRightOrBottomControl(metadata_);
    }
    subResize();
}

void frmMain::subSetStatusPanelText(const QString& text) {
    sbMain->Panel(QStringLiteral("status"))->setText(text);
}

} // namespace picbasket
