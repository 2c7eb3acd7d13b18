// The image basket's commands: its tool bar (new, open, save, remove, Save As,
// print, scanner), the batch dispatcher the batch menu calls by index, the basket's
// context and "SaveAs" menus, the batch JPEG 2000 command, and the list's events that
// preview its rows.
#include "browser/BasketPane.h"

#include "browser/BasketAdder.h"
#include "browser/FileListFocus.h"
#include "browser/PaneQueries.h"
#include "browser/PreviewedFile.h"
#include "browser/frmDummy.h"
#include "browser/frmSaveSinglePage.h"
#include "browser/modBasketList.h"
#include "browser/modSaveOpenImageList.h"
#include "controls/common/PaneWindow.h"
#include "controls/dialogs/frmStatus.h"
#include "controls/dialogs/modCommonDialog.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/setup/modSetup.h"
#include "engine/batch/UnreadableRows.h"
#include "engine/batch/modSaveBatch.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/imagebox/ImageBox.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace picbasket {

namespace {

// Runs one step of a command whose steps each ignore their failure.
template <class Step> void ignoreFailure(Step&& step) {
    try {
        step();
    } catch (...) {
        // The command goes on with its next step.
    }
}

} // namespace

void BasketPane::buildBasketCommands() {
    mnuSaveAsParent = new QMenu(QStringLiteral("SaveAs"), window());
    mnuSaveAsParent->setObjectName(QStringLiteral("mnuSaveAsParent"));
    const char* const saveAs[] = {"Save basket as JPEG2000 files in batch",
                                  "Generate screensaver out of basket",
                                  "Generate slide show out of basket"};
    for (int i = 0; i < 3; ++i) {
        mnuSaveAs[size_t(i)] = mnuSaveAsParent->addAction(QString::fromLatin1(saveAs[i]));
        connect(mnuSaveAs[size_t(i)], &QAction::triggered, this, [this, i] { mnuSaveAs_Click(i); });
    }
    mnuContextBasket = new QMenu(QStringLiteral("Context Basket"), window());
    mnuContextBasket->setObjectName(QStringLiteral("mnuContextBasket"));
    const char* const context[] = {
        "Save as image document", "Save as greeting image", "Save as single-image screensaver", "-",
        "Rename title",           "Remove from basket"};
    for (int i = 0; i < 6; ++i) {
        const QString caption = QString::fromLatin1(context[i]);
        QAction* item = caption == QLatin1String("-") ? mnuContextBasket->addSeparator()
                                                      : mnuContextBasket->addAction(caption);
        mnuContext[size_t(i)] = item;
        if (!item->isSeparator())
            connect(item, &QAction::triggered, this, [this, i] { mnuContext_Click(i); });
    }
    connect(cmdPagesNew, &QPushButton::clicked, this, &BasketPane::cmdPagesNew_Click);
    connect(cmdPagesOpen, &QPushButton::clicked, this, &BasketPane::cmdPagesOpen_Click);
    connect(cmdPagesSave, &QPushButton::clicked, this, &BasketPane::cmdPagesSave_Click);
    connect(cmdPagesDelete, &QPushButton::clicked, this, &BasketPane::cmdPagesDelete_Click);
    connect(cmdSaveAs, &QPushButton::clicked, this, &BasketPane::cmdSaveAs_Click);
    connect(cmdBatchPrint, &QPushButton::clicked, this, &BasketPane::cmdBatchPrint_Click);
    connect(cmdTwainAcquire, &QPushButton::clicked, this, &BasketPane::cmdTwainAcquire_Click);
    connect(lvPages, &ListView::KeyPress, this, &BasketPane::lvPages_KeyPress);
}

// Empties the basket and its thumbnails and deletes the temporary page files. An add
// that is still running owns page files of its own: the command waits for it.
void BasketPane::cmdPagesNew_Click() {
    if (basketAdder->isRunning())
        return;
    ignoreFailure([&] {
        lvPages->Clear();
        lvPages->setSmallIcons(nullptr);
        ilPages->Clear();
    });
    ignoreFailure([&] {
        window_.statusBar()->Panel(QStringLiteral("queue"))->setText(QStringLiteral("New Basket"));
    });
    ignoreFailure([&] { emit temporaryPagesDeleteRequested(); });
}

namespace {

// The basket file dialogs start in the folder the last one used.
void prepareBasketDialog(QWidget* owner, const QString& title) {
    CommonDialog.hWndOwner = owner;
    CommonDialog.DialogTitle = title;
    CommonDialog.FileName.clear();
    CommonDialog.Filter = QStringLiteral("Image basket file (*.ibf)|*.ibf");
    CommonDialog.Flags = 5;
    CommonDialog.InitDir = BasketFolder;
}

void rememberBasketFolder(const QString& file) {
    BasketFolder = QFileInfo(file).absolutePath();
}

} // namespace

// Replaces the basket with the files of a basket file; a failed open keeps it.
void BasketPane::cmdPagesOpen_Click() {
    errorTail(QStringLiteral("FrmMain.cmdPagesOpen_Click"), [&] {
        if (lvPages->Count() > 0 &&
            msgBox(joinLines({QStringLiteral("There are currently files in the Basket!."),
                              QStringLiteral("Do you want to continue?")}),
                   mb::OKCancel | mb::Information) == mb::Cancel)
            return;
        prepareBasketDialog(window(), QStringLiteral("Open Image Basket"));
        fncShowOpen();
        const QString file = CommonDialog.FileName;
        if (file.isEmpty())
            return;
        rememberBasketFolder(file);
        const bool opened = fncOpenImageBasket(file, *lvPages, *ilPages, *basketAdder, *pbQueue);
        setQueuePanel();
        window_.subResize();
        if (!opened)
            msgBox(joinLines({QStringLiteral("Error opening image basket!"),
                              QStringLiteral("Please select a valid image basket file.")}),
                   mb::Information);
    });
}

void BasketPane::cmdPagesSave_Click() {
    errorTail(QStringLiteral("FrmMain.cmdPagesSave_Click"), [&] {
        if (lvPages->Count() == 0)
            return;
        prepareBasketDialog(window(), QStringLiteral("Save image basket"));
        fncShowSave();
        QString file = CommonDialog.FileName;
        if (file.isEmpty())
            return;
        rememberBasketFolder(file);
        if (!fncSaveImageBasket(file, *lvPages))
            msgBox(joinLines({QStringLiteral("Error saving image basket!"),
                              QStringLiteral("Please try again!")}),
                   mb::Information);
        else if (const QString note = fncTemporaryRowsNote(*lvPages); !note.isEmpty())
            msgBox(note, mb::Exclamation);
    });
}

// A row whose source is itself a temporary page (a scan put into the basket) is named
// in the basket file by that page, which the end of the run deletes: the user is told
// which rows the file keeps only until then.
QString fncTemporaryRowsNote(const ListView& basket) {
    const QString temp = QDir(AppPaths::tempPageFolder()).absolutePath();
    QStringList names;
    for (int r = 1; r <= basket.Count(); ++r) {
        const QString source = basket.SubItem(r, 4);
        if (QFileInfo(source).absolutePath() == temp && !names.contains(basket.Text(r)))
            names << basket.Text(r);
    }
    if (names.isEmpty())
        return {};
    QStringList lines{QStringLiteral("These rows are scanned pages kept in the temporary folder, "
                                     "which is emptied when the program ends:")};
    lines << names.mid(0, UnreadableRows::MaxListed);
    if (names.size() > UnreadableRows::MaxListed)
        lines << QStringLiteral("and %1 more").arg(names.size() - UnreadableRows::MaxListed);
    lines << QStringLiteral("The basket file names them only until then; save them as files of "
                            "their own to keep them.");
    return joinLines(lines);
}

void BasketPane::cmdPagesDelete_Click() {
    errorTail(QStringLiteral("FrmMain.cmdPagesDelete_Click"), [&] {
        subRemoveSelectedItems(*lvPages);
        setQueuePanel();
    });
}

// "SaveAs" pops up at the button's lower-left corner.
void BasketPane::cmdSaveAs_Click() {
    mnuSaveAsParent->popup(cmdSaveAs->mapToGlobal(QPoint(0, cmdSaveAs->height())));
}

void BasketPane::cmdBatchPrint_Click() {
    subBatchPrint();
}

void BasketPane::cmdTwainAcquire_Click() {
    emit scannerRequested();
}

void BasketPane::subGenerateDocument(int16_t index) {
    if (index != 4 && index != 5 && lvPages->Count() < 2) {
        msgBox(QStringLiteral("You need at least 2 images in the basket to use this feature!"),
               mb::Information);
        return;
    }
    switch (index) {
    case 0:
        subSaveAsSinglePage();
        break;
    case 2:
        emit screensaverRequested(1);
        break;
    case 3:
        emit slideShowRequested();
        break;
    case 4:
        emit scannerRequested();
        break;
    case 5:
        emit captureRequested();
        break;
    case 6:
        subBatchPrint();
        break;
    default:
        break;
    }
}

void BasketPane::mnuSaveAs_Click(int index) {
    if (lvPages->Count() < 1)
        return;
    if (index == 0)
        subSaveAsSinglePage();
    else if (index == 1)
        emit screensaverRequested(1);
    else if (index == 2)
        emit slideShowRequested();
}

// Items 0 to 2 save the row's image: a row that is not the one shown is shown first.
void BasketPane::mnuContext_Click(int index) {
    if (index >= 0 && index <= 2) {
        const int row = lvPages->SelectedItem();
        if (row > 0 && lvPages->Tag(row) != preview_.previewBox().Tag()) {
            emit showRowRequested(lvPages, row);
            window_.subResize();
        }
        emit savePreviewAsRequested(index);
    } else if (index == 4) {
        lvPages->StartLabelEdit();
    } else if (index == 5) {
        cmdPagesDelete_Click();
    }
}

// One row may be saved or renamed; several may only be removed. The rule counts the
// rows selected now (a rubber-band or keyboard selection raises no item click).
void BasketPane::subShowBasketContextMenu() {
    const bool single = lvPages->SelectedCount() < 2;
    for (int i : {0, 1, 2, 4})
        mnuContext[size_t(i)]->setEnabled(single);
    mnuContext[5]->setEnabled(true);
    mnuContextBasket->popup(QCursor::pos());
}

void BasketPane::lvPages_KeyPress(int keyAscii) {
    if (lvPages->Count() == 0 || keyAscii != 1)
        return;
    for (int r = 1; r <= lvPages->Count(); ++r)
        lvPages->setSelected(r, true);
}

// Asks the options; when they were confirmed, converts the basket behind the wait
// dialog. Confirmed is cleared before the dialog and after the run, however it ends.
void BasketPane::subSaveAsSinglePage() {
    errorTail(QStringLiteral("FrmMain.subSaveAsSinglePage"), [&] {
        CurrentActivity = QStringLiteral("Saving a new Single file");
        if (lvPages->Count() == 0)
            return;
        struct ConfirmedScope {
            ~ConfirmedScope() { Setup.BatchSave.Confirmed = false; }
        } confirmed;
        Setup.BatchSave.Confirmed = false;
        {
            frmSaveSinglePage dialog(window());
            dialog.exec();
        }
        if (!Setup.BatchSave.Confirmed)
            return;
        const std::unique_ptr<BasketRows> rows = fncBasketRowsOf(*lvPages);
        fncConvertBasket(*rows, queries_.batchTaskRows(), queries_.batchBox(),
                         frmStatus::instance(window()));
        // The new files may land in the folder shown: it is listed again so they appear.
        emit folderRelistRequested();
    });
}

void BasketPane::lvPages_GotFocus() {
    listFocus_.ActiveFileList = QStringLiteral("lvPages");
}

void BasketPane::lvPages_LostFocus() {
    listFocus_.FolderListDropped = true;
}

void BasketPane::lvPages_ItemClick(int) {
    listFocus_.SelectedRowCount = lvPages->SelectedCount();
    if (listFocus_.SelectedRowCount < 2)
        listFocus_.FolderListDropped = false;
}

void BasketPane::lvPages_KeyUp(int keyCode, int) {
    if (lvPages->Count() > 0 && keyCode == 46)
        return cmdPagesDelete_Click();
    if (lvPages->Count() == 0 || keyCode < 37 || keyCode > 40 || listFocus_.FolderListDropped)
        return;
    ignoreFailure([&] {
        emit showRowRequested(lvPages, lvPages->SelectedItem());
        window_.subResize();
    });
}

// The right button pops up the basket's context menu; the other buttons preview the
// row clicked, unless several rows are selected.
void BasketPane::lvPages_MouseUp(int button, int, int, int) {
    if (lvPages->Count() == 0)
        return;
    if (button == 2)
        return ignoreFailure([&] { subShowBasketContextMenu(); });
    ignoreFailure([&] {
        if (!listFocus_.FolderListDropped) {
            if (listFocus_.SelectedRowCount > 1)
                return;
            emit showRowRequested(lvPages, lvPages->SelectedItem());
            window_.subResize();
        }
        lvPages->setFocus();
    });
}

// A press on the bar stops the folder listing whose progress it shows.
void BasketPane::pbQueue_MouseDown() {
    queries_.folderListingAbort() = true;
}

void BasketPane::lblQueue_Click() {
    window_.subPopupMenu(queries_.batchMenu(), lblQueue->mapToGlobal(QPoint(0, lblQueue->height())));
}

void BasketPane::mnuBatch_Click(int index) {
    const BatchMenuCommand command = fncBatchMenuCommand(index);
    subRunBatchMenuCommand(command);
}

void BasketPane::subRunBatchMenuCommand(const BatchMenuCommand& command) {
    switch (command.kind) {
    case BatchMenuCommand::Generate: subGenerateDocument(int16_t(command.generateIndex)); break;
    case BatchMenuCommand::NewBasket: cmdPagesNew_Click(); break;
    case BatchMenuCommand::OpenBasket: cmdPagesOpen_Click(); break;
    case BatchMenuCommand::SaveBasket: cmdPagesSave_Click(); break;
    case BatchMenuCommand::RemoveSelected: cmdPagesDelete_Click(); break;
    case BatchMenuCommand::None: break;
    }
}

} // namespace picbasket
