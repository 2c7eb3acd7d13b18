// The basket list's focus, click, key and mouse events that preview its rows, and the
// window's share of connecting the preview.
#include "browser/PreviewPane.h"
#include "platform/comctl/ListView.h"
#include "shell/mainwindow/frmMain.h"

namespace picbasket {

namespace {

// A step that may fail without stopping the steps after it, and without a message.
template <class Step> void skipFailure(Step&& step) {
    try {
        step();
    } catch (...) {
    }
}

} // namespace

void frmMain::buildPreview() {
    preview_->buildPreview();
    connect(lvPages, &ListView::GotFocus, this, &frmMain::lvPages_GotFocus);
    connect(lvPages, &ListView::LostFocus, this, &frmMain::lvPages_LostFocus);
    connect(lvPages, &ListView::ItemClick, this, &frmMain::lvPages_ItemClick);
    connect(lvPages, &ListView::KeyUp, this, &frmMain::lvPages_KeyUp);
    connect(lvPages, &ListView::MouseUp, this, &frmMain::lvPages_MouseUp);
}

void frmMain::lvPages_GotFocus() {
    listFocus_.ActiveFileList = QStringLiteral("lvPages");
}

void frmMain::lvPages_LostFocus() {
    listFocus_.FolderListDropped = true;
}

void frmMain::lvPages_ItemClick(int) {
    listFocus_.SelectedRowCount = lvPages->SelectedCount();
    if (listFocus_.SelectedRowCount < 2)
        listFocus_.FolderListDropped = false;
}

void frmMain::lvPages_KeyUp(int keyCode, int) {
    if (lvPages->Count() > 0 && keyCode == 46)
        return cmdPagesDelete_Click();
    if (lvPages->Count() == 0 || keyCode < 37 || keyCode > 40 || listFocus_.FolderListDropped)
        return;
    skipFailure([&] {
        preview_->subShowSelectedFile(lvPages, lvPages->SelectedItem());
        subResize();
    });
}

// The right button pops up the basket's context menu; the other buttons preview the
// row clicked, unless several rows are selected.
void frmMain::lvPages_MouseUp(int button, int, int, int) {
    if (lvPages->Count() == 0)
        return;
    if (button == 2)
        return skipFailure([&] { subShowBasketContextMenu(); });
    skipFailure([&] {
        if (!listFocus_.FolderListDropped) {
            if (listFocus_.SelectedRowCount > 1)
                return;
            preview_->subShowSelectedFile(lvPages, lvPages->SelectedItem());
            subResize();
        }
        lvPages->setFocus();
    });
}

} // namespace picbasket
