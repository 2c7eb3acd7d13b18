// The preview pane of the main window: showing the file behind a folder or basket
// row, its file and metadata panels, the fit and the scroll bars, stepping to the
// previous or next row, and the mouse on the preview (SelectionController).
#include "browser/SelectionController.h"
#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/fileinfo/clsFileInfo.h"
#include "editing/EditImageData.h"
#include "engine/loading/LoadFailure.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/TabStrip.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/frmMain.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <cmath>

namespace picbasket {

namespace {

const QString NoFileText = QStringLiteral("No file selected");
constexpr OleColor White = 0x00FFFFFF;

// A step that may fail without stopping the steps after it, and without a message.
template <class Step> void skipFailure(Step&& step) {
    try {
        step();
    } catch (...) {
    }
}

bool loadsDirectly(const QString& extension) {
    static const QStringList direct{"tiff", "tif", "jpg", "jpeg"};
    return direct.contains(extension);
}

} // namespace

void frmMain::buildPreview() {
    preview_->PreviewSelection = new SelectionController(this);
    connectPreviewSelection();
    connect(preview_->vsbView, &QScrollBar::valueChanged, this, &frmMain::vsbView_Change);
    connect(preview_->hsbView, &QScrollBar::valueChanged, this, &frmMain::hsbView_Change);
    connect(preview_->cmdPreviewPrevious, &QPushButton::clicked, this,
            &frmMain::cmdPreviewPrevious_Click);
    connect(preview_->cmdPreviewNext, &QPushButton::clicked, this, &frmMain::cmdPreviewNext_Click);
    connect(preview_->cmdPreviewView, &QPushButton::clicked, this, &frmMain::cmdPreviewView_Click);
    connect(preview_->ibMain, &ImageBoxView::MouseDown, this, &frmMain::ibMain_MouseDown);
    connect(&preview_->ibMain->box(), &ImageBox::loadSettled, this, &frmMain::ibMain_LoadSettled);
    connect(preview_->ibMain, &ImageBoxView::MouseMove, this, &frmMain::ibMain_MouseMove);
    connect(preview_->ibMain, &ImageBoxView::MouseUp, this, &frmMain::ibMain_MouseUp);
    connect(lvPages, &ListView::GotFocus, this, &frmMain::lvPages_GotFocus);
    connect(lvPages, &ListView::LostFocus, this, &frmMain::lvPages_LostFocus);
    connect(lvPages, &ListView::ItemClick, this, &frmMain::lvPages_ItemClick);
    connect(lvPages, &ListView::KeyUp, this, &frmMain::lvPages_KeyUp);
    connect(lvPages, &ListView::MouseUp, this, &frmMain::lvPages_MouseUp);
    // A click on the checked fit item must be seen as such, so Qt's own toggling
    // (which may uncheck it, the group being optional) is undone before the
    // handler runs; checking one item still unchecks the other.
    preview_->previewFit_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const QList<QAction*> fits = preview_->previewFit_->actions();
    for (int i = 0; i < fits.size(); ++i)
        connect(fits[i], &QAction::triggered, this, [this, i, item = fits[i]] {
            item->setChecked(!item->isChecked());
            mnuPreviewFit_Click(i);
        });
}

// The marks live on ibMain's overlay; grips take a solid pen, the rectangle the
// preview's own dashed one.
void frmMain::connectPreviewSelection() {
    SelectionController* s = preview_->PreviewSelection;
    s->pickGeometry = [this] {
        const ImageBox& box = preview_->ibMain->box();
        return SelectionController::PickGeometry{box.ImageWidth(), box.ImageHeight(),
                                                 box.DisplayWidth(), box.DisplayHeight()};
    };
    s->pixelColour = [this](int x, int y) { return preview_->ibMain->box().PixelColor(x, y); };
    connect(s, &SelectionController::drawFigure, this,
            [this](int left, int top, int right, int bottom, bool grip) {
                ImageBox& box = preview_->ibMain->box();
                const int style = box.DrawPenStyle();
                if (grip)
                    box.setDrawPenStyle(0);
                box.DrawRectangle(left, top, right, bottom);
                box.setDrawPenStyle(style);
            });
    connect(s, &SelectionController::clearFigures, this,
            [this] { preview_->ibMain->box().ClearOverlay(); });
    connect(s, &SelectionController::pointerChanged, this,
            [this](int pointer) { preview_->ibMain->setMousePointer(pointer); });
    connect(s, &SelectionController::previewMenuRequested, this, &frmMain::subShowPreviewMenu);
    connect(s, &SelectionController::colourPicked, this,
            [this](uint32_t colour) { preview_->ibMain->box().setBackgroundColor(colour); });
    connect(s, &SelectionController::taskOptionsChanged, this, [this] { TaskOptionsChanged = true; });
}

void frmMain::subShowSelectedFile(ListView* list, int row) {
    if (!list || row < 1 || row > list->Count())
        return;
    const QString path = list->Tag(row);
    if (path == preview_->PicTiffTag)
        return;
    ImageBox& box = preview_->ibMain->box();
    preview_->previewList_ = list;
    preview_->previewRow_ = row;
    skipFailure([&] {
        box.Clear();
        metadata_->lvExif->Clear();
        metadata_->lvIPTC->Clear();
    });
    skipFailure([&] { fncReadFile(path, box); });
    skipFailure([&] {
        const QString resolution = list->SubItem(row, 1);
        if (box.HasImage() && (resolution.isEmpty() || resolution == QLatin1String("0 X 0 X 0"))) {
            list->setSubItem(row, 1, QStringLiteral("%1 X %2 X %3")
                                         .arg(box.ImageWidth())
                                         .arg(box.ImageHeight())
                                         .arg(box.BitsPerPixel()));
            if (preview_->PicTiffTag == path)
                subShowPreviewPanels();
        }
    });
    preview_->previewList_ = nullptr;
    preview_->previewRow_ = 0;
    skipFailure([&] {
        const QString extension = FileInfo().fFileExtention().toLower();
        static const QStringList withExif{"tif", "tiff", "jpg", "jpeg", "jpe"};
        if (withExif.contains(extension)) {
            subShowMetadataPane(true, true);
            metadata_->ReadFileEXIFInfo(box, metadata_->lvExif, preview_->PicTiffTag);
            metadata_->ReadFileIPTCInfo(box, metadata_->lvIPTC, preview_->PicTiffTag);
            metadata_->tbsMetadata->setSelectedItem(1);
            metadata_->tbsMetadata->setTabEnabled(1, true);
        } else if (extension == QLatin1String("psd")) {
            subShowMetadataPane(true, false);
            metadata_->ReadFileIPTCInfo(box, metadata_->lvIPTC, preview_->PicTiffTag);
            metadata_->tbsMetadata->setSelectedItem(2);
            metadata_->tbsMetadata->setTabEnabled(1, false);
        } else {
            subShowMetadataPane(false, false);
            metadata_->tbsMetadata->setTabEnabled(1, true);
        }
    });
    skipFailure([&] {
        QString text = QStringLiteral("Metadata - ");
        const bool exif = metadata_->lvExif->Count() > 0;
        const bool iptc = box.HasIptc();
        if (exif)
            text += QStringLiteral("EXIF");
        if (iptc)
            text += QStringLiteral(" IPTC");
        sbMain->Panel(QStringLiteral("metadata"))
            ->setText(exif || iptc ? text : QStringLiteral("No metadata"));
    });
}

// A file that cannot be loaded leaves nothing shown: both path tags are cleared, so
// no later edit writes to a file the preview no longer shows and a click on the
// row that was shown before loads it again.
void frmMain::fncReadFile(const QString& path, ImageBox& box) {
    errorTail(QStringLiteral("FrmMain.fncReadFile"), [&] {
        CurrentActivity = QStringLiteral("Trying to read/view selected image file");
        FileInfo().setFilePath(path);
        box.Clear();
        if (preview_->checkedPreviewFit() == 0)
            box.setAutoZoom(true);
        else
            box.setAutoZoom(false);
        const auto nothingShown = [&](const QString& decoderWords) {
            preview_->PicTiffTag.clear();
            box.setTag(QString());
            subClearFilePanels();
            subShowUnreadableFile(path, fncLoadFailureReason(path, decoderWords));
        };
        const QString extension = FileInfo().fFileExtention().toLower();
        if (loadsDirectly(extension)) {
            box.setPageIndex(1);
            QString decoderWords;
            try {
                // The fitted preview of the window's box shows a reduced decode
                // while the full one follows; the basket replay and the edit view
                // need the full image now.
                if (&box == &preview_->ibMain->box() && preview_->checkedPreviewFit() == 0)
                    box.LoadFromFileForView(path, preview_->PicViewImage->width(),
                                            preview_->PicViewImage->height());
                else
                    box.LoadFromFile(path);
                if (preview_->PreviewOptimized || fncIsEditView())
                    box.WaitForLoad();
            } catch (const AppError& error) {
                if (!box.LoadedFlag())
                    throw;
                decoderWords = error.description();
            }
            if (box.LoadedFlag())
                return nothingShown(decoderWords);
        } else {
            int32_t w = 0, h = 0;
            const QImage picture = LoadPic(path, sizemode::Original, -1, -1, White, w, h);
            if (picture.isNull())
                return nothingShown({});
            preview_->PicTiff = picture;
            box.setBitmapHandle(picture);
        }
        // A load still running gives the copy when it ends (ibMain_LoadSettled).
        OriginalImageData = box.LoadPending() ? QImage() : box.Picture();
        if (preview_->PreviewOptimized)
            subProcessTaskBasket(false);
        subFitPreview(preview_->PicViewImage, preview_->ibMain, preview_->hsbView,
                      preview_->vsbView);
        // Best Fit gives each image its own zoom: the panel follows the image shown,
        // not the last resize of the window.
        if (&box == &preview_->ibMain->box())
            subSetStatusPanelText(fncZoomText(fncShownZoom(box)));
        preview_->PicTiffTag = path;
        sbMain->Panel(QStringLiteral("filename"))->setText(FileInfo().fName32bit());
        subShowPreviewPanels();
        preview_->ibMain->show();
        box.setTag(path);
        CurrentActivity = QStringLiteral("Resizing image to fit the container control");
        // While editing, editing starts again on the new image.
        if (&box == &preview_->ibMain->box())
            subEditViewImageChanged();
    });
}

// The full image of the shown file has come in: it is the copy as loaded. A file
// whose full decode failed is shown no longer, as if its load had failed.
void frmMain::ibMain_LoadSettled() {
    ImageBox& box = preview_->ibMain->box();
    if (box.HasImage()) {
        if (!preview_->PicTiffTag.isEmpty() && box.Tag() == preview_->PicTiffTag)
            OriginalImageData = box.Picture();
        return;
    }
    // The full decode found the file damaged: it is said as any unreadable file is.
    const QString path = preview_->PicTiffTag;
    OriginalImageData = QImage();
    preview_->PicTiffTag.clear();
    box.setTag(QString());
    skipFailure([&] {
        subClearFilePanels();
        if (path.isEmpty()) {
            metadata_->lvExif->Clear();
            metadata_->lvIPTC->Clear();
        } else {
            subShowUnreadableFile(path, fncLoadFailureReason(path));
        }
    });
}

// "pages" and "resolution" describe the row being previewed: a folder row has a
// pages column, a basket row is always one page (multipage files are split when
// they are added). Called from elsewhere, the folder list's selected row is used.
void frmMain::subShowPreviewPanels() {
    ListView* list = preview_->previewList_;
    int row = preview_->previewRow_;
    if (!list) {
        list = lvFolder;
        row = lvFolder->SelectedItem();
    }
    if (row < 1 || row > list->Count())
        return;
    const QString pages = list == lvPages ? QStringLiteral("1") : list->SubItem(row, 3);
    sbMain->Panel(QStringLiteral("pages"))->setText(pages + QStringLiteral(" page(s)"));
    sbMain->Panel(QStringLiteral("resolution"))
        ->setText(list->SubItem(row, 1) + QStringLiteral("     ") + list->SubItem(row, 2));
}

// The status says which file could not be shown and why, and nothing of an earlier
// file stays in the metadata lists.
void frmMain::subShowUnreadableFile(const QString& path, const QString& reason) {
    sbMain->Panel(QStringLiteral("filename"))->setText(fncUnreadableFileText(path, reason));
    metadata_->lvExif->Clear();
    metadata_->lvIPTC->Clear();
}

QString fncUnreadableFileText(const QString& path, const QString& reason) {
    return QStringLiteral("\"%1\" could not be read: %2").arg(QFileInfo(path).fileName(), reason);
}

void frmMain::subClearFilePanels() {
    sbMain->Panel(QStringLiteral("filename"))->setText(NoFileText);
    sbMain->Panel(QStringLiteral("pages"))->setText(QString());
    sbMain->Panel(QStringLiteral("resolution"))->setText(QString());
}

void frmMain::subFixedSizeTiff() {
    errorTail(QStringLiteral("FrmMain.subFixedSizeTiff"), [&] {
        CurrentActivity = QStringLiteral("Resizing Image according to preview setting");
        if (preview_->PicTiffTag.isEmpty())
            return;
        ImageBox& box = preview_->ibMain->box();
        if (preview_->checkedPreviewFit() == 0) {
            box.setAutoZoom(true);
        } else {
            box.setAutoZoom(false);
            box.setZoom(100);
        }
        preview_->vsbView->setValue(0);
        preview_->hsbView->setValue(0);
        subFitPreview(preview_->PicViewImage, preview_->ibMain, preview_->hsbView,
                      preview_->vsbView);
    });
}

void frmMain::vsbView_Change() {
    skipFailure(
        [&] { preview_->ibMain->move(preview_->ibMain->x(), -preview_->vsbView->value()); });
}

void frmMain::vsbView_Scroll() {
    vsbView_Change();
}

void frmMain::hsbView_Change() {
    skipFailure(
        [&] { preview_->ibMain->move(-preview_->hsbView->value(), preview_->ibMain->y()); });
}

void frmMain::hsbView_Scroll() {
    hsbView_Change();
}

ListView* frmMain::activeFileList() const {
    return listFocus_.ActiveFileList == QLatin1String("lvPages") ? lvPages : lvFolder;
}

void frmMain::cmdPreviewPrevious_Click() {
    skipFailure([&] { preview_->ibMain->box().ClearSelection(); });
    skipFailure([&] { subClearSelection(); });
    skipFailure([&] { subShowPreviousItem(activeFileList()); });
}

void frmMain::cmdPreviewNext_Click() {
    skipFailure([&] { preview_->ibMain->box().ClearSelection(); });
    skipFailure([&] { subClearSelection(); });
    skipFailure([&] { subShowNextItem(activeFileList()); });
}

namespace {

void showAlone(frmMain& window, ListView* list, int row) {
    skipFailure([&] { window.subShowSelectedFile(list, row); });
    skipFailure([&] {
        for (int r = 1; r <= list->Count(); ++r)
            list->setSelected(r, false);
        list->setSelectedItem(row);
        list->setSelected(row, true);
        list->setFocus();
    });
}

} // namespace

void frmMain::subShowPreviousItem(ListView* list) {
    if (!list || list->Count() < 2)
        return;
    const int row = list->SelectedItem();
    if (row >= 2)
        showAlone(*this, list, row - 1);
}

void frmMain::subShowNextItem(ListView* list) {
    if (!list || list->Count() < 2)
        return;
    const int row = list->SelectedItem();
    if (row < list->Count())
        showAlone(*this, list, row + 1);
}

void frmMain::mnuPreviewFit_Click(int index) {
    const QList<QAction*> items = preview_->previewFit_->actions();
    if (index < 0 || index >= items.size() || items[index]->isChecked())
        return;
    for (int i = 0; i < items.size(); ++i)
        items[i]->setChecked(i == index);
    setCaption(preview_->cmdPreviewView, QStringLiteral("    ") + items[index]->text());
    subFixedSizeTiff();
    subFitPreview(preview_->PicViewImage, preview_->ibMain, preview_->hsbView, preview_->vsbView);
    subSetStatusPanelText(
        QString::number(static_cast<long long>(std::floor(fncShownZoom(preview_->ibMain->box())))) +
        QLatin1Char('%'));
}

// The fit menu opens just below its button.
void frmMain::cmdPreviewView_Click() {
    preview_->mnuPreviewFitParent->popup(
        preview_->cmdPreviewView->mapToGlobal(QPoint(0, preview_->cmdPreviewView->height())));
}

void frmMain::ibMain_MouseDown(int button, int, int x, int y) {
    skipFailure([&] { preview_->PreviewSelection->mouseDown(button, x, y); });
}

void frmMain::ibMain_MouseMove(int, int x, int y) {
    skipFailure([&] { preview_->PreviewSelection->mouseMove(x, y); });
}

void frmMain::ibMain_MouseUp(int button, int, int x, int y) {
    skipFailure([&] { preview_->PreviewSelection->mouseUp(button, x, y); });
}

void frmMain::subClearSelection() {
    preview_->PreviewSelection->subClearSelection();
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
        subShowSelectedFile(lvPages, lvPages->SelectedItem());
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
            subShowSelectedFile(lvPages, lvPages->SelectedItem());
            subResize();
        }
        lvPages->setFocus();
    });
}

// The preview menu comes with the menus.
} // namespace picbasket
