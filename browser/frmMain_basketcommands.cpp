// The image basket's commands: its tool bar (new, open, save, remove, Save As,
// print, scanner), the batch dispatcher the batch menu calls by index, the basket's
// context and "SaveAs" menus, and the batch JPEG 2000 command.
#include "browser/BasketAdder.h"
#include "browser/frmSaveSinglePage.h"
#include "browser/modBasketList.h"
#include "browser/modSaveOpenImageList.h"
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
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/frmMain.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

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

void frmMain::buildBasketCommands() {
    mnuSaveAsParent = new QMenu(QStringLiteral("SaveAs"), this);
    mnuSaveAsParent->setObjectName(QStringLiteral("mnuSaveAsParent"));
    const char* const saveAs[] = {"Save basket as JPEG2000 files in batch",
                                  "Generate screensaver out of basket",
                                  "Generate slide show out of basket"};
    for (int i = 0; i < 3; ++i) {
        mnuSaveAs[size_t(i)] = mnuSaveAsParent->addAction(QString::fromLatin1(saveAs[i]));
        connect(mnuSaveAs[size_t(i)], &QAction::triggered, this, [this, i] { mnuSaveAs_Click(i); });
    }
    mnuContextBasket = new QMenu(QStringLiteral("Context Basket"), this);
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
    connect(cmdPagesNew, &QPushButton::clicked, this, &frmMain::cmdPagesNew_Click);
    connect(cmdPagesOpen, &QPushButton::clicked, this, &frmMain::cmdPagesOpen_Click);
    connect(cmdPagesSave, &QPushButton::clicked, this, &frmMain::cmdPagesSave_Click);
    connect(cmdPagesDelete, &QPushButton::clicked, this, &frmMain::cmdPagesDelete_Click);
    connect(cmdSaveAs, &QPushButton::clicked, this, &frmMain::cmdSaveAs_Click);
    connect(cmdBatchPrint, &QPushButton::clicked, this, &frmMain::cmdBatchPrint_Click);
    connect(cmdTwainAcquire, &QPushButton::clicked, this, &frmMain::cmdTwainAcquire_Click);
    connect(lvPages, &ListView::KeyPress, this, &frmMain::lvPages_KeyPress);
}

// Empties the basket and its thumbnails and deletes the temporary page files. An add
// that is still running owns page files of its own: the command waits for it.
void frmMain::cmdPagesNew_Click() {
    if (basketAdder->isRunning())
        return;
    ignoreFailure([&] {
        lvPages->Clear();
        lvPages->setSmallIcons(nullptr);
        ilPages->Clear();
    });
    ignoreFailure(
        [&] { sbMain->Panel(QStringLiteral("queue"))->setText(QStringLiteral("New Basket")); });
    ignoreFailure([&] { subDeleteTemporaryPages(); });
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
void frmMain::cmdPagesOpen_Click() {
    errorTail(QStringLiteral("FrmMain.cmdPagesOpen_Click"), [&] {
        if (lvPages->Count() > 0 &&
            msgBox(joinLines({QStringLiteral("There are currently files in the Basket!."),
                              QStringLiteral("Do you want to continue?")}),
                   mb::OKCancel | mb::Information) == mb::Cancel)
            return;
        prepareBasketDialog(this, QStringLiteral("Open Image Basket"));
        fncShowOpen();
        const QString file = CommonDialog.FileName;
        if (file.isEmpty())
            return;
        rememberBasketFolder(file);
        const bool opened = fncOpenImageBasket(file, *lvPages, *ilPages, *basketAdder, *pbQueue);
        setQueuePanel();
        subResize();
        if (!opened)
            msgBox(joinLines({QStringLiteral("Error opening image basket!"),
                              QStringLiteral("Please select a valid image basket file.")}),
                   mb::Information);
    });
}

void frmMain::cmdPagesSave_Click() {
    errorTail(QStringLiteral("FrmMain.cmdPagesSave_Click"), [&] {
        if (lvPages->Count() == 0)
            return;
        prepareBasketDialog(this, QStringLiteral("Save image basket"));
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

void frmMain::cmdPagesDelete_Click() {
    errorTail(QStringLiteral("FrmMain.cmdPagesDelete_Click"), [&] {
        subRemoveSelectedItems(*lvPages);
        setQueuePanel();
    });
}

// "SaveAs" pops up at the button's lower-left corner.
void frmMain::cmdSaveAs_Click() {
    mnuSaveAsParent->popup(cmdSaveAs->mapToGlobal(QPoint(0, cmdSaveAs->height())));
}

void frmMain::cmdBatchPrint_Click() {
    subBatchPrint();
}

void frmMain::cmdTwainAcquire_Click() {
    subShowTwainDialog();
}

void frmMain::subGenerateDocument(int16_t index) {
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
        subShowScreensaverDemo(1);
        break;
    case 3:
        subShowSlideShowDialog();
        break;
    case 4:
        subShowTwainDialog();
        break;
    case 5:
        subShowCaptureDialog();
        break;
    case 6:
        subBatchPrint();
        break;
    default:
        break;
    }
}

void frmMain::mnuSaveAs_Click(int index) {
    if (lvPages->Count() < 1)
        return;
    if (index == 0)
        subSaveAsSinglePage();
    else if (index == 1)
        subShowScreensaverDemo(1);
    else if (index == 2)
        subShowSlideShowDialog();
}

// Items 0 to 2 save the row's image: a row that is not the one shown is shown first.
void frmMain::mnuContext_Click(int index) {
    if (index >= 0 && index <= 2) {
        const int row = lvPages->SelectedItem();
        if (row > 0 && lvPages->Tag(row) != preview_->ibMain->box().Tag()) {
            preview_->subShowSelectedFile(lvPages, row);
            subResize();
        }
        preview_->mnuSavePreviewAs_Click(index);
    } else if (index == 4) {
        lvPages->StartLabelEdit();
    } else if (index == 5) {
        cmdPagesDelete_Click();
    }
}

// One row may be saved or renamed; several may only be removed. The rule counts the
// rows selected now (a rubber-band or keyboard selection raises no item click).
void frmMain::subShowBasketContextMenu() {
    const bool single = lvPages->SelectedCount() < 2;
    for (int i : {0, 1, 2, 4})
        mnuContext[size_t(i)]->setEnabled(single);
    mnuContext[5]->setEnabled(true);
    mnuContextBasket->popup(QCursor::pos());
}

void frmMain::lvPages_KeyPress(int keyAscii) {
    if (lvPages->Count() == 0 || keyAscii != 1)
        return;
    for (int r = 1; r <= lvPages->Count(); ++r)
        lvPages->setSelected(r, true);
}

// Asks the options; when they were confirmed, converts the basket behind the wait
// dialog. Confirmed is cleared before the dialog and after the run, however it ends.
void frmMain::subSaveAsSinglePage() {
    errorTail(QStringLiteral("FrmMain.subSaveAsSinglePage"), [&] {
        CurrentActivity = QStringLiteral("Saving a new Single file");
        if (lvPages->Count() == 0)
            return;
        struct ConfirmedScope {
            ~ConfirmedScope() { Setup.BatchSave.Confirmed = false; }
        } confirmed;
        Setup.BatchSave.Confirmed = false;
        {
            frmSaveSinglePage dialog(this);
            dialog.exec();
        }
        if (!Setup.BatchSave.Confirmed)
            return;
        const std::unique_ptr<BasketRows> rows = fncBasketRowsOf(*lvPages);
        fncConvertBasket(*rows, lvEditBatch, preview_->ibTemp, frmStatus::instance(this));
        // The new files may land in the folder shown: it is listed again so they appear.
        if (!CurrentFolder.isEmpty())
            timerShowFiles->start();
    });
}

} // namespace picbasket
