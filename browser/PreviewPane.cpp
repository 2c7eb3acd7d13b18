// The preview pane of the main window: showing the file behind a folder or basket
// row, its file and metadata panels, the fit and the scroll bars, stepping to the
// previous or next row, and the mouse on the preview (SelectionController).
#include "browser/PreviewPane.h"

#include "browser/FileListFocus.h"
#include "browser/SelectionController.h"
#include "controls/common/PaneControls.h"
#include "controls/common/PaneWindow.h"
#include "controls/common/ToolbarFlowLayout.h"
#include "core/AppError.h"
#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/fileinfo/clsFileInfo.h"
#include "engine/loading/LoadFailure.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

namespace picbasket {

namespace {

const QString NoFileText = QStringLiteral("No file selected");
constexpr OleColor White = 0x00FFFFFF;

bool loadsDirectly(const QString& extension) {
    static const QStringList direct{"tiff", "tif", "jpg", "jpeg"};
    return direct.contains(extension);
}

void widenForCaption(QPushButton* button, const QString& caption) {
    const int text = button->fontMetrics().horizontalAdvance(caption.trimmed());
    button->setFixedWidth(std::max(button->width(), text + 32));
}

} // namespace

PreviewPane::PreviewPane(QWidget* parent, const PreviewPeers& peers,
                         const std::function<void(QWidget* toolbar)>& addEditCommands)
    : QWidget(parent), peers_(peers) {
    setAutoFillBackground(true);
    picView = this;
    picToolbarPreview = new QWidget(picView);
    // A narrow pane gets a second row of buttons rather than cut captions.
    auto* row = new ToolbarFlowLayout(picToolbarPreview);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(1);
    Label4 = new QLabel(QStringLiteral("Preview"), picToolbarPreview);
    Label4->setFixedHeight(ToolButtonSize - 2);
    Label4->setContentsMargins(4, 0, 4, 0);
    {
        QFont font = Label4->font();
        font.setBold(true);
        Label4->setFont(font);
    }
    row->addWidget(Label4);
    cmdPreviewView = makeButton(picToolbarPreview, QStringLiteral("     Best Fit"),
                                QStringLiteral("Set the fit mode of the image"), 0);
    cmdPreviewType =
        makeButton(picToolbarPreview, QStringLiteral("     Original"),
                   QStringLiteral("Set the view type to either Original or Optimized"), 0);
    // The two pop-up buttons show their menu's checked item: each is as wide as its
    // longest item needs, so no caption is cut and the bar does not jump.
    widenForCaption(cmdPreviewView, QStringLiteral("     Actual Size"));
    widenForCaption(cmdPreviewType, QStringLiteral("     Optimized"));
    row->startGroup();
    cmdPreviewPrevious =
        makeButton(picToolbarPreview, {}, QStringLiteral("View the image of the previous file"),
                   ToolButtonSize);
    cmdPreviewNext = makeButton(picToolbarPreview, {},
                                QStringLiteral("View the image of the next file"), ToolButtonSize);
    row->addStretch(1);
    addEditCommands(picToolbarPreview);
    CmdPreviewEdit = makeButton(picToolbarPreview, QStringLiteral("    Edit"),
                                QStringLiteral("Edit the current image"), ToolButtonSize);
    cmdPreviewPrint = makeButton(picToolbarPreview, {},
                                 QStringLiteral("Print the current preview image"), ToolButtonSize);
    cmdPreviewSave =
        makeButton(picToolbarPreview, {}, QStringLiteral("Save the current preview image to file"),
                   ToolButtonSize);

    PicViewImage = new QWidget(picView);
    PicViewImage->setAutoFillBackground(true);
    QPalette palette = PicViewImage->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
    PicViewImage->setPalette(palette);
    ibMain = new ImageBoxView(PicViewImage);
    vsbView = new QScrollBar(Qt::Vertical, picView);
    hsbView = new QScrollBar(Qt::Horizontal, picView);
}

PreviewPane::~PreviewPane() = default;

ImageBox& PreviewPane::previewBox() {
    return ibMain->box();
}

// Widgets refuse negative sizes: a pane too narrow for its margins leaves the bar at
// no size.
int PreviewPane::layOutPreviewToolbar() {
    const int width = picView->width();
    const int height = picToolbarPreview->layout()->heightForWidth(width);
    picToolbarPreview->setFixedHeight(height);
    picToolbarPreview->setGeometry(0, 0, std::max(0, width), std::max(0, height));
    return height;
}

void PreviewPane::buildPreview() {
    PreviewSelection = new SelectionController(this);
    connectPreviewSelection();
    connect(vsbView, &QScrollBar::valueChanged, this, &PreviewPane::vsbView_Change);
    connect(hsbView, &QScrollBar::valueChanged, this, &PreviewPane::hsbView_Change);
    connect(cmdPreviewPrevious, &QPushButton::clicked, this,
            &PreviewPane::cmdPreviewPrevious_Click);
    connect(cmdPreviewNext, &QPushButton::clicked, this, &PreviewPane::cmdPreviewNext_Click);
    connect(cmdPreviewView, &QPushButton::clicked, this, &PreviewPane::cmdPreviewView_Click);
    connect(ibMain, &ImageBoxView::MouseDown, this, &PreviewPane::ibMain_MouseDown);
    connect(&ibMain->box(), &ImageBox::loadSettled, this, &PreviewPane::ibMain_LoadSettled);
    connect(ibMain, &ImageBoxView::MouseMove, this, &PreviewPane::ibMain_MouseMove);
    connect(ibMain, &ImageBoxView::MouseUp, this, &PreviewPane::ibMain_MouseUp);
    // A click on the checked fit item must be seen as such, so Qt's own toggling
    // (which may uncheck it, the group being optional) is undone before the
    // handler runs; checking one item still unchecks the other.
    previewFit_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const QList<QAction*> fits = previewFit_->actions();
    for (int i = 0; i < fits.size(); ++i)
        connect(fits[i], &QAction::triggered, this, [this, i, item = fits[i]] {
            item->setChecked(!item->isChecked());
            mnuPreviewFit_Click(i);
        });
}

// The marks live on ibMain's overlay; grips take a solid pen, the rectangle the
// preview's own dashed one.
void PreviewPane::connectPreviewSelection() {
    SelectionController* s = PreviewSelection;
    s->pickGeometry = [this] {
        const ImageBox& box = ibMain->box();
        return SelectionController::PickGeometry{box.ImageWidth(), box.ImageHeight(),
                                                 box.DisplayWidth(), box.DisplayHeight()};
    };
    s->pixelColour = [this](int x, int y) { return ibMain->box().PixelColor(x, y); };
    connect(s, &SelectionController::drawFigure, this,
            [this](int left, int top, int right, int bottom, bool grip) {
                ImageBox& box = ibMain->box();
                const int style = box.DrawPenStyle();
                if (grip)
                    box.setDrawPenStyle(0);
                box.DrawRectangle(left, top, right, bottom);
                box.setDrawPenStyle(style);
            });
    connect(s, &SelectionController::clearFigures, this, [this] { ibMain->box().ClearOverlay(); });
    connect(s, &SelectionController::pointerChanged, this,
            [this](int pointer) { ibMain->setMousePointer(pointer); });
    connect(s, &SelectionController::previewMenuRequested, this, &PreviewPane::subShowPreviewMenu);
    connect(s, &SelectionController::colourPicked, this,
            [this](uint32_t colour) { ibMain->box().setBackgroundColor(colour); });
    connect(s, &SelectionController::taskOptionsChanged, this, &PreviewPane::taskOptionsPicked);
}

void PreviewPane::subShowSelectedFile(ListView* list, int row) {
    if (!list || row < 1 || row > list->Count())
        return;
    const QString path = list->Tag(row);
    if (path == peers_.focus.PicTiffTag)
        return;
    ImageBox& box = ibMain->box();
    previewList_ = list;
    previewRow_ = row;
    skipFailure([&] {
        box.Clear();
        emit metadataClearRequested();
    });
    skipFailure([&] { fncReadFile(path, box); });
    skipFailure([&] {
        const QString resolution = list->SubItem(row, 1);
        if (box.HasImage() && (resolution.isEmpty() || resolution == QLatin1String("0 X 0 X 0"))) {
            list->setSubItem(row, 1,
                             QStringLiteral("%1 X %2 X %3")
                                 .arg(box.ImageWidth())
                                 .arg(box.ImageHeight())
                                 .arg(box.BitsPerPixel()));
            if (peers_.focus.PicTiffTag == path)
                subShowPreviewPanels();
        }
    });
    previewList_ = nullptr;
    previewRow_ = 0;
    QString extension;
    skipFailure([&] { extension = FileInfo().fFileExtention().toLower(); });
    emit metadataRequested(box, peers_.focus.PicTiffTag, extension);
}

// A file that cannot be loaded leaves nothing shown: both path tags are cleared, so
// no later edit writes to a file the preview no longer shows and a click on the
// row that was shown before loads it again.
void PreviewPane::fncReadFile(const QString& path, ImageBox& box) {
    errorTail(QStringLiteral("FrmMain.fncReadFile"), [&] {
        CurrentActivity = QStringLiteral("Trying to read/view selected image file");
        FileInfo().setFilePath(path);
        box.Clear();
        if (checkedPreviewFit() == 0)
            box.setAutoZoom(true);
        else
            box.setAutoZoom(false);
        const auto nothingShown = [&](const QString& decoderWords) {
            peers_.focus.PicTiffTag.clear();
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
                if (&box == &ibMain->box() && checkedPreviewFit() == 0)
                    box.LoadFromFileForView(path, PicViewImage->width(), PicViewImage->height());
                else
                    box.LoadFromFile(path);
                if (PreviewOptimized || peers_.queries.editViewShown())
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
            PicTiff = picture;
            box.setBitmapHandle(picture);
        }
        // A load still running gives the copy when it ends (ibMain_LoadSettled).
        emit originalImageLoaded(box.LoadPending() ? QImage() : box.Picture());
        if (PreviewOptimized)
            emit taskBasketRunRequested(false);
        subFitPreview(PicViewImage, ibMain, hsbView, vsbView);
        // Best Fit gives each image its own zoom: the panel follows the image shown,
        // not the last resize of the window.
        if (&box == &ibMain->box())
            peers_.window.subSetStatusPanelText(fncZoomText(fncShownZoom(box)));
        peers_.focus.PicTiffTag = path;
        peers_.window.statusBar()
            ->Panel(QStringLiteral("filename"))
            ->setText(FileInfo().fName32bit());
        subShowPreviewPanels();
        ibMain->show();
        box.setTag(path);
        CurrentActivity = QStringLiteral("Resizing image to fit the container control");
        // While editing, editing starts again on the new image.
        if (&box == &ibMain->box())
            emit previewImageChanged();
    });
}

// The full image of the shown file has come in: it is the copy as loaded. A file
// whose full decode failed is shown no longer, as if its load had failed. Only a
// load of the file the pane shows counts: fncReadFile, while it takes a file (the
// pane still naming the one before), deals with a load that settles meanwhile
// itself, and once it said the file could not be read the pane shows none.
void PreviewPane::ibMain_LoadSettled() {
    ImageBox& box = ibMain->box();
    const QString path = box.SettledFile();
    if (path.isEmpty() || path != peers_.focus.PicTiffTag || box.Tag() != peers_.focus.PicTiffTag)
        return;
    if (!box.SettledImage().isNull()) {
        emit originalImageLoaded(box.SettledImage());
        return;
    }
    // The full decode found the file damaged: it is said as any unreadable file is.
    emit originalImageLoaded(QImage());
    peers_.focus.PicTiffTag.clear();
    box.setTag(QString());
    skipFailure([&] {
        subClearFilePanels();
        subShowUnreadableFile(path, fncLoadFailureReason(path));
    });
}

// "pages" and "resolution" describe the row being previewed: a folder row has a
// pages column, a basket row is always one page (multipage files are split when
// they are added). Called from elsewhere, the folder list's selected row is used.
void PreviewPane::subShowPreviewPanels() {
    ListView* list = previewList_;
    int row = previewRow_;
    if (!list) {
        list = peers_.focus.FolderList;
        row = list->SelectedItem();
    }
    if (row < 1 || row > list->Count())
        return;
    const QString pages =
        list == peers_.focus.BasketList ? QStringLiteral("1") : list->SubItem(row, 3);
    peers_.window.statusBar()
        ->Panel(QStringLiteral("pages"))
        ->setText(pages + QStringLiteral(" page(s)"));
    peers_.window.statusBar()
        ->Panel(QStringLiteral("resolution"))
        ->setText(list->SubItem(row, 1) + QStringLiteral("     ") + list->SubItem(row, 2));
}

// The status says which file could not be shown and why, and nothing of an earlier
// file stays in the metadata lists.
void PreviewPane::subShowUnreadableFile(const QString& path, const QString& reason) {
    peers_.window.statusBar()
        ->Panel(QStringLiteral("filename"))
        ->setText(fncUnreadableFileText(path, reason));
    emit metadataClearRequested();
}

QString fncZoomText(double zoom) {
    return QString::number(static_cast<long long>(roundHalfEven(zoom))) + QLatin1Char('%');
}

double fncShownZoom(const ImageBox& box) {
    if (!box.AutoZoom() || !box.HasImage() || box.ImageWidth() <= 0)
        return box.Zoom();
    return 100.0 * box.DisplayWidth() / box.ImageWidth();
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
    // The ranges are set quietly: a bar whose range shrinks would otherwise move the
    // box through its change handler after it was placed.
    for (QScrollBar* bar : {hsb, vsb}) {
        const QSignalBlocker quiet(bar);
        const bool across = bar == hsb;
        const int shown = across ? width : height;
        const int room = across ? holder->width() : holder->height();
        bar->setRange(0, std::max(0, shown - room));
        bar->setPageStep(std::max(1, room));
        bar->setEnabled(shown > room);
    }
    const int left = width < holder->width() ? (holder->width() - width) / 2 : -hsb->value();
    const int top = height < holder->height() ? (holder->height() - height) / 2 : -vsb->value();
    view->setGeometry(left, top, width, height);
    view->show();
}

QString fncUnreadableFileText(const QString& path, const QString& reason) {
    return QStringLiteral("\"%1\" could not be read: %2").arg(QFileInfo(path).fileName(), reason);
}

void PreviewPane::subClearFilePanels() {
    peers_.window.statusBar()->Panel(QStringLiteral("filename"))->setText(NoFileText);
    peers_.window.statusBar()->Panel(QStringLiteral("pages"))->setText(QString());
    peers_.window.statusBar()->Panel(QStringLiteral("resolution"))->setText(QString());
}

void PreviewPane::subFixedSizeTiff() {
    errorTail(QStringLiteral("FrmMain.subFixedSizeTiff"), [&] {
        CurrentActivity = QStringLiteral("Resizing Image according to preview setting");
        if (peers_.focus.PicTiffTag.isEmpty())
            return;
        ImageBox& box = ibMain->box();
        if (checkedPreviewFit() == 0) {
            box.setAutoZoom(true);
        } else {
            box.setAutoZoom(false);
            box.setZoom(100);
        }
        vsbView->setValue(0);
        hsbView->setValue(0);
        subFitPreview(PicViewImage, ibMain, hsbView, vsbView);
    });
}

void PreviewPane::vsbView_Change() {
    skipFailure([&] { ibMain->move(ibMain->x(), -vsbView->value()); });
}

void PreviewPane::vsbView_Scroll() {
    vsbView_Change();
}

void PreviewPane::hsbView_Change() {
    skipFailure([&] { ibMain->move(-hsbView->value(), ibMain->y()); });
}

void PreviewPane::hsbView_Scroll() {
    hsbView_Change();
}

void PreviewPane::cmdPreviewPrevious_Click() {
    skipFailure([&] { ibMain->box().ClearSelection(); });
    skipFailure([&] { subClearSelection(); });
    skipFailure([&] { subShowPreviousItem(peers_.focus.activeList()); });
}

void PreviewPane::cmdPreviewNext_Click() {
    skipFailure([&] { ibMain->box().ClearSelection(); });
    skipFailure([&] { subClearSelection(); });
    skipFailure([&] { subShowNextItem(peers_.focus.activeList()); });
}

namespace {

void showAlone(PreviewPane& pane, ListView* list, int row) {
    skipFailure([&] { pane.subShowSelectedFile(list, row); });
    skipFailure([&] {
        for (int r = 1; r <= list->Count(); ++r)
            list->setSelected(r, false);
        list->setSelectedItem(row);
        list->setSelected(row, true);
        list->setFocus();
    });
}

} // namespace

void PreviewPane::subShowPreviousItem(ListView* list) {
    if (!list || list->Count() < 2)
        return;
    const int row = list->SelectedItem();
    if (row >= 2)
        showAlone(*this, list, row - 1);
}

void PreviewPane::subShowNextItem(ListView* list) {
    if (!list || list->Count() < 2)
        return;
    const int row = list->SelectedItem();
    if (row < list->Count())
        showAlone(*this, list, row + 1);
}

void PreviewPane::mnuPreviewFit_Click(int index) {
    const QList<QAction*> items = previewFit_->actions();
    if (index < 0 || index >= items.size() || items[index]->isChecked())
        return;
    for (int i = 0; i < items.size(); ++i)
        items[i]->setChecked(i == index);
    setCaption(cmdPreviewView, QStringLiteral("    ") + items[index]->text());
    subFixedSizeTiff();
    subFitPreview(PicViewImage, ibMain, hsbView, vsbView);
    peers_.window.subSetStatusPanelText(
        QString::number(static_cast<long long>(std::floor(fncShownZoom(ibMain->box())))) +
        QLatin1Char('%'));
}

// The fit menu opens just below its button.
void PreviewPane::cmdPreviewView_Click() {
    mnuPreviewFitParent->popup(cmdPreviewView->mapToGlobal(QPoint(0, cmdPreviewView->height())));
}

void PreviewPane::ibMain_MouseDown(int button, int, int x, int y) {
    skipFailure([&] { PreviewSelection->mouseDown(button, x, y); });
}

void PreviewPane::ibMain_MouseMove(int, int x, int y) {
    skipFailure([&] { PreviewSelection->mouseMove(x, y); });
}

void PreviewPane::ibMain_MouseUp(int button, int, int x, int y) {
    skipFailure([&] { PreviewSelection->mouseUp(button, x, y); });
}

void PreviewPane::subClearSelection() {
    PreviewSelection->subClearSelection();
}

} // namespace picbasket
