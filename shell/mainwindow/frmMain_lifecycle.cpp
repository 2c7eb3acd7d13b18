// Start-up and shut-down of the main window.
#include "shell/mainwindow/frmMain.h"

#include "browser/FolderListing.h"
#include "browser/modBasketList.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/dialogs/modFontsCombo.h"
#include "controls/splitter/Splitter.h"
#include "core/AppError.h"
#include "core/AppPaths.h"
#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/HelpManual.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/ScreenTwips.h"
#include "core/setup/modSetup.h"
#include "editing/EditImageData.h"
#include "metadata/modMetadata.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/foldertree/FolderTreeview.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

namespace picbasket {

namespace {

// The tool tips of the six main panes while tips are on: folder tree, folder list,
// preview, basket, EXIF list, IPTC list.
QStringList ToolTipTexts;

int16_t toColumnWidth(int pixels) {
    return static_cast<int16_t>(std::clamp(static_cast<int>(roundHalfEven(pixels)), 0, 32767));
}

int16_t toSetupInt16(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, -32768, 32767));
}

} // namespace

QString fncAppPath() {
    QString folder = AppPaths::programFolder();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QStringList fncHelpManualPlaces() {
    return helpManualPlaces(QStringLiteral("index.html"));
}

QString fncFindHelpManual() {
    return helpManualStart();
}

bool frmMain::Form_Load() {
    bool keepRunning = true;
    errorTail(QStringLiteral("FrmMain.Form_Load"), [&] {
        CurrentActivity = QStringLiteral("Loading all controls and settings");
        if (!instanceLock_.tryAcquire()) {
            msgBox(fncSecondInstanceText(QString::fromUtf8(version::Title)),
                   mb::Critical | mb::OKOnly, ApplicationTitle);
            keepRunning = false;
            return;
        }
        // No seeding: temporary page names draw from QRandomGenerator::global(),
        // which seeds itself from the system.
        subSetup();
        subLoadFrameDummy();
        FormLoaded = true;
        listFocus_.FolderListDropped = true;
    });
    return keepRunning;
}

void frmMain::subSetup() {
    errorTail(QStringLiteral("FrmMain.subSetup"), [&] {
        CurrentActivity = QStringLiteral("Setting up Main Application");
        preview_->folderFiles().Pattern = QStringLiteral(
            "*.jpg*;*.jpeg*;*.tif*;*.tiff*;*.gif*;*.bmp*;*.pcx*;*.png*;*.wbm*;*.wbmp*;*.psd*;"
            "*.psp*;*.pic*;*.pix*;*.pxr*;*.xpm*;*.raw*;*.dcx*;*.sgi*;*.tga*;*.wmf*;*.emf*;*.pbm*;"
            "*.pgm*;*.ppm*;*.jng*;*.mng*;*.koa*;*.jp2*;*.jpc*;*.pcd*;*.ras*;*.tga*;*.cut*;*.iff*;"
            "*.lbm*");
        subLoadSettings();
        MetadataTab = 0;
        RestoreFolderOnResize = true;
        preview_->setUnchanged(true);
        folder_->listingAbortFlag() = false;
        subInitGlobals();
        setWindowTitle(ApplicationTitle);
        applyWindowSize();
        preview_->subSetImageBoxDefaults();
        ThumbnailWidth = Setup.FolderList.ThumbnailWidth;
        ThumbnailHeight = Setup.FolderList.ThumbnailHeight;
        BasketThumbnailHeight = Setup.BasketList.ThumbnailHeight;
        BasketThumbnailWidth = Setup.BasketList.ThumbnailWidth;
        subInitMetadataTables();
        edit_->subSetupExplorerBar();
        subSetHelpFile();
        preview_->box()->box().setAppTitle(QString::fromUtf8(version::Title));
        subSetStatusPictures();
        subSetSplitterTree();
        subSetButtonPictures();
        edit_->subFillCombos();
        sbMain->Panel(QStringLiteral("queue"))->setText(QStringLiteral("No files in basket"));
    });
}

// A setup file whose main and right splitters both read 10 was left by a damaged
// write; it is deleted and read again, which gives the defaults. When the file
// cannot be deleted the defaults are put in place in memory instead of trying again.
void frmMain::subLoadSetupChecked() {
    auto damaged = [] { return Setup.Splitters.Main == 10 && Setup.Splitters.Right == 10; };
    subLoadSetup();
    if (!damaged())
        return;
    subDeleteSetupFile();
    subLoadSetup();
    if (damaged())
        subApplySetupDefaults();
}

void frmMain::subLoadSettings() {
    try {
        subLoadSetupChecked();
        splMain->setSplitterPosition(Setup.Splitters.Main);
        splRight->setSplitterPosition(Setup.Splitters.Right);
        splLeft->setSplitterPosition(Setup.Splitters.Left);
        splView->setSplitterPosition(Setup.Splitters.View);

        const QList<QAction*> types = preview_->typeGroup()->actions();
        QAction* type = types.value(Setup.Preview.Type);
        if (!type)
            raiseError(err::SubscriptOutOfRange);
        type->setChecked(true);
        preview_->setCaption(preview_->typeButton(), QStringLiteral("    ") + type->text());
        preview_->setOptimized(Setup.Preview.Type != 0);

        const QList<QAction*> fits = preview_->fitGroup()->actions();
        QAction* fit = fits.value(Setup.Preview.Fit);
        if (!fit)
            raiseError(err::SubscriptOutOfRange);
        fit->setChecked(true);
        preview_->setCaption(preview_->fitButton(), QStringLiteral("  ") + fit->text());

        for (int c = 1; c <= 8; ++c)
            folder_->list()->setColumnWidth(
                c, Setup.FolderList.ColumnWidth[static_cast<size_t>(c - 1)]);
        for (int c = 1; c <= 5; ++c)
            basket_->list()->setColumnWidth(
                c, Setup.BasketList.ColumnWidth[static_cast<size_t>(c - 1)]);
        BasketFolder = Setup.BasketList.Folder;
        for (int c = 1; c <= 2; ++c) {
            metadata_->exifList()->setColumnWidth(
                c, Setup.MetadataLists.ExifColumnWidth[static_cast<size_t>(c - 1)]);
            metadata_->iptcList()->setColumnWidth(
                c, Setup.MetadataLists.IptcColumnWidth[static_cast<size_t>(c - 1)]);
        }
        subUpdateForm();
    } catch (...) {
        // The rest of the settings stay unapplied; the window works with its defaults.
    }
}

void frmMain::subUpdateForm() {
    errorTail(QStringLiteral("FrmMain.subUpdateForm"), [&] {
        CurrentActivity = QStringLiteral("Updating settings to controls");
        ThumbnailWidth = Setup.FolderList.ThumbnailWidth;
        ThumbnailHeight = Setup.FolderList.ThumbnailHeight;
        BasketThumbnailHeight = Setup.BasketList.ThumbnailHeight;
        BasketThumbnailWidth = Setup.BasketList.ThumbnailWidth;
        fncListViewFullRowSelect(folder_->list(), Setup.FolderList.FullRowSelect, false);
        fncListViewFullRowSelect(basket_->list(), Setup.BasketList.FullRowSelect, false);
        QWidget* const panes[] = {folder_->tree(),       folder_->list(),   preview_->imageHolder(),
                                  basket_->list(),       metadata_->exifList(), metadata_->iptcList()};
        if (Setup.AllowTip == 1) {
            subLoadToolTipTexts();
            for (int i = 0; i < 6; ++i)
                panes[i]->setToolTip(ToolTipTexts.value(i));
        } else {
            for (QWidget* pane : panes)
                pane->setToolTip(QString());
        }
    });
}

void frmMain::subLoadToolTipTexts() {
    ToolTipTexts = {
        QStringLiteral("Browse for a particular folder where image files are placed."),
        QStringLiteral("List all supported image formats from the selected folder."),
        QStringLiteral("Container for the preview file."),
        QStringLiteral("List all added files or pages in the basket"),
        QStringLiteral("List all available EXIF attributes from JPEG/TIFF files."),
        QStringLiteral("List all available IPTC attributes from JPEG/TIFF/PSD files."),
    };
}

// The window opens at the size kept in the setup record (twips), never below its
// least size; state 2 opens it maximised.
void frmMain::applyWindowSize() {
    const int w = static_cast<int>(Setup.MainWindow.Width / twipsPerPixelX());
    const int h = static_cast<int>(Setup.MainWindow.Height / twipsPerPixelY());
    resize(std::max(w, minimumWidth()), std::max(h, minimumHeight()));
    if (Setup.MainWindow.State == 2)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMain::subSetHelpFile() {
    HelpFile = fncFindHelpManual();
}

void frmMain::subSetStatusPictures() {
    sbMain->Panel(1)->setPicture(picture(QStringLiteral("iDetailIcon")));
    sbMain->Panel(4)->setPicture(picture(QStringLiteral("imgQueue")));
    sbMain->Panel(5)->setPicture(picture(QStringLiteral("imgMetadata")));
    sbMain->Panel(6)->setPicture(picture(QStringLiteral("imgFolder")));
    sbMain->Panel(QStringLiteral("status"))->setPicture(picture(QStringLiteral("picPreviewView")));
}

void frmMain::subSetSplitterTree() {
    splMain->setLeftOrTopControl(splRight);
    splMain->setRightOrBottomControl(splLeft);
    splRight->setLeftOrTopControl(picBrowse);
    splRight->setRightOrBottomControl(splView);
    splLeft->setLeftOrTopControl(folder_);
    splLeft->setRightOrBottomControl(basket_);
    splView->setLeftOrTopControl(preview_->view());
    splView->setRightOrBottomControl(metadata_);
}

void frmMain::subSetButtonPictures() {
    const std::pair<QPushButton*, const char*> singles[] = {
        {cmdBrowseSettings, "picBrowseSettings"},
        {cmdBrowseAbout, "picBrowseAbout"},
        {preview_->fitButton(), "picPreviewView"},
        {preview_->previousButton(), "picPreviewPrevious"},
        {preview_->nextButton(), "picPreviewNext"},
        {preview_->typeButton(), "picPreviewType"},
        {preview_->saveButton(), "picPreviewSave"},
        {edit_->resetButton(), "IconReset"},
        {edit_->originalButton(), "IconOriginalImage"}};
    for (const auto& [button, box] : singles)
        subSetButtonPicture(button, picture(QString::fromLatin1(box)));
    folder_->setButtonPictures();
    basket_->setButtonPictures();
    for (size_t i = 0; i < edit_->taskListButtons().size(); ++i) {
        const QImage icon = picture(QStringLiteral("IconEditbar%1").arg(i));
        subSetButtonPicture(edit_->taskListButtons()[i], icon);
        subSetButtonPicture(edit_->editTaskButtons()[i], icon);
    }
    metadata_->setButtonPictures();
    const std::pair<QPushButton*, const char*> rest[] = {
        {preview_->editButton(), "picPreviewEdit"}, {preview_->printButton(), "picPreviewPrint"}};
    for (const auto& [button, box] : rest)
        subSetButtonPicture(button, picture(QString::fromLatin1(box)));
}

// The smallest outer size the layout keeps is 8000 by 6000 twips, frame and title bar
// included. Qt bounds the inside of a window, so the frame the window manager gave is
// taken off; it is known once the window is decorated, which a move or a resize
// follows.
void frmMain::subFitLeastSizeToFrame() {
    const int outerWidth = static_cast<int>(8000 / twipsPerPixelX());
    const int outerHeight = static_cast<int>(6000 / twipsPerPixelY());
    const QSize frame = isWindow() ? frameGeometry().size() - geometry().size() : QSize();
    const QSize least(std::max(1, outerWidth - std::max(0, frame.width())),
                      std::max(1, outerHeight - std::max(0, frame.height())));
    if (minimumSize() != least)
        setMinimumSize(least);
}

void frmMain::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    subFitLeastSizeToFrame();
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    subFitLeastSizeToFrame();
    subResize();
    if (RestoreFolderOnResize) {
        RestoreFolderOnResize = false;
        folderTree_.tree->setSelectedFolder(fncNearestExistingFolder(Setup.LastFolder));
        sbMain->show();
        subResize();
    }
}

void frmMain::subEnd() {
    errorTail(QStringLiteral("FrmMain.subEnd"), [&] {
        CurrentActivity = QStringLiteral("Saving Settings before termination");
        Setup.Splitters.Main = toSetupInt16(splMain->SplitterPosition());
        Setup.Splitters.Right = toSetupInt16(splRight->SplitterPosition());
        Setup.Splitters.Left = toSetupInt16(splLeft->SplitterPosition());
        Setup.Splitters.View = toSetupInt16(splView->SplitterPosition());
        Setup.Preview.Fit = static_cast<uint8_t>(preview_->checkedPreviewFit());
        Setup.Preview.Type = static_cast<uint8_t>(preview_->checkedPreviewType());
        // A tree that shows no folder keeps the folder of the last run.
        if (!folderTree_.tree->SelectedFolder().isEmpty())
            Setup.LastFolder = folderTree_.tree->SelectedFolder();
        for (int c = 1; c <= 8; ++c)
            Setup.FolderList.ColumnWidth[static_cast<size_t>(c - 1)] =
                toColumnWidth(folder_->list()->ColumnWidth(c));
        Setup.FolderList.ThumbnailWidth = toSetupInt16(ThumbnailWidth);
        Setup.FolderList.ThumbnailHeight = toSetupInt16(ThumbnailHeight);
        for (int c = 1; c <= 5; ++c)
            Setup.BasketList.ColumnWidth[static_cast<size_t>(c - 1)] =
                toColumnWidth(basket_->list()->ColumnWidth(c));
        Setup.BasketList.ThumbnailHeight = toSetupInt16(BasketThumbnailHeight);
        Setup.BasketList.ThumbnailWidth = toSetupInt16(BasketThumbnailWidth);
        Setup.BasketList.Folder = BasketFolder;
        for (int c = 1; c <= 2; ++c) {
            Setup.MetadataLists.ExifColumnWidth[static_cast<size_t>(c - 1)] =
                toColumnWidth(metadata_->exifList()->ColumnWidth(c));
            Setup.MetadataLists.IptcColumnWidth[static_cast<size_t>(c - 1)] =
                toColumnWidth(metadata_->iptcList()->ColumnWidth(c));
        }
        subSaveSetup();
        // Qt's painting needs no graphics engine to be stopped.
        CurrentActivity = QStringLiteral("Trying to stop Graphic Engine");
        ConfirmedImageData = QImage();
        OriginalImageData = QImage();
        CurrentActivity = QStringLiteral("UnSubclass all controls");
        subRemoveButtonPictures();
    });
}

void frmMain::subRemoveButtonPictures() {
    QList<QPushButton*> buttons{cmdBrowseSettings,
                                cmdBrowseAbout,
                                preview_->fitButton(),
                                preview_->previousButton(),
                                preview_->nextButton(),
                                preview_->typeButton(),
                                preview_->saveButton(),
                                edit_->resetButton(),
                                edit_->originalButton()};
    for (size_t i = 0; i < edit_->taskListButtons().size(); ++i)
        buttons << edit_->taskListButtons()[i] << edit_->editTaskButtons()[i];
    buttons << preview_->editButton() << preview_->printButton();
    for (QPushButton* button : buttons)
        subRemoveButtonPicture(button);
    folder_->removeButtonPictures();
    basket_->removeButtonPictures();
    metadata_->removeButtonPictures();
}

// Closes every other window of the program, the last opened first, stopping at one
// that refuses to close.
void frmMain::subUnloadOtherWindows() {
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != this && widget->parentWidget() == nullptr)
            windows << widget;
    for (qsizetype i = windows.size() - 1; i >= 0; --i)
        if (!windows[i]->close())
            break;
}

// The page files of split multipage files; nothing else in the folder is touched.
void frmMain::subDeleteTemporaryPages() {
    QDir temp(AppPaths::tempPageFolder());
    if (!temp.exists())
        return;
    temp.setNameFilters({QStringLiteral("*.tif")});
    temp.setFilter(QDir::Files | QDir::Hidden);
    for (const QString& name : temp.entryList())
        QFile::remove(temp.filePath(name));
}

void frmMain::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    subEnd();
    try {
        subUnloadOtherWindows();
        subDeleteTemporaryPages();
    } catch (...) {
        // Nothing the user could act on: a window or a file that cannot go stays.
    }
    instanceLock_.release();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (FormLoaded)
        Form_Unload();
    event->accept();
}

} // namespace picbasket
