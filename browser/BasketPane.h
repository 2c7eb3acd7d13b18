#pragma once
#include "browser/BasketAdder.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace picbasket {

struct BasketRow;
struct BatchMenuCommand;
struct FileListFocus;
class ImageBox;
class ImageList;
class ListView;
class PaneQueries;
class PreviewedFile;
class PaneWindow;
class ProgressBar;
class TaskRowList;

// The image basket: the list of files a batch works on, with its thumbnails, its tool
// bars (new, open, save, remove; Save As, print, scanner), its menus and the batch
// commands. The pane is its own root widget (PicQueue); the window places it in its
// splitter tree and the pane lays out its children (layOut). What it needs of the
// other panes at once it asks PaneQueries; the rest it asks by its signals, which the
// window connects. subAddBasketRow is the one entry that adds a row, whoever adds
// (the folder's add command, a drop, basket files, capture, scanning).
class BasketPane : public QWidget {
    Q_OBJECT
    Q_MOC_INCLUDE("platform/comctl/ListView.h")

public:
    BasketPane(QWidget* parent, FileListFocus& listFocus, PaneWindow& window,
               PreviewedFile& preview, PaneQueries& queries);
    ~BasketPane() override;

    // The thumbnail joins ilPages and the row goes to the end, or to its place while
    // the basket is sorted; returns the row's number.
    int subAddBasketRow(const BasketRow& row, const QImage& thumbnail);
    void subAddDroppedFiles();
    // The "queue" panel of the status bar counts the basket's rows.
    void setQueuePanel();
    void lvPages_ColumnClick(int column);
    // The list's focus, click, key and mouse events that preview its rows.
    void lvPages_GotFocus();
    void lvPages_LostFocus();
    void lvPages_ItemClick(int row);
    void lvPages_KeyUp(int keyCode, int shift);
    void lvPages_MouseUp(int button, int shift, int x, int y);
    void lvPages_OLEDragOver(const QString& source, int x, int y);
    void lvPages_OLEDragDrop(const QString& source, int x, int y);
    void lvPages_KeyPress(int keyAscii);
    void pbQueue_MouseDown();
    void lblQueue_Click();
    void mnuBatch_Click(int index);

    // The basket's commands.
    void cmdPagesNew_Click();
    void cmdPagesOpen_Click();
    void cmdPagesSave_Click();
    void cmdPagesDelete_Click();
    void cmdSaveAs_Click();
    void cmdBatchPrint_Click();
    void cmdTwainAcquire_Click();
    // The batch menu's entries by index: 0 JPEG 2000 files, 2 screensaver, 3 slide
    // show, 4 scanner, 5 capture, 6 printing; all but 4 and 5 need two basket rows.
    void subGenerateDocument(int16_t index);
    // Asks the batch options and converts the basket to JPEG 2000 files.
    void subSaveAsSinglePage();
    // Prints every basket row, one page each, in one job.
    void subBatchPrint();
    // "SaveAs" (0 JPEG 2000 files, 1 screensaver, 2 slide show) under the Save As
    // button, and the basket's context menu (0 to 2 save the row's image, 4 "Rename
    // title", 5 "Remove from basket").
    void mnuSaveAs_Click(int index);
    void mnuContext_Click(int index);

    // What the pane gives the others: the basket list and its bar; whether an add
    // runs; the add of folder rows with bar showing its progress (maximum rows), which
    // names the folder on the status bar, lays out the window again and reports the
    // files that were not added (the bar is hidden again on every way out); no row
    // left selected.
    ListView* list() const { return lvPages; }
    ProgressBar* bar() const { return pbQueue; }
    bool adding() const;
    void addFolderRows(const std::vector<BasketSource>& rows, int maximum, ProgressBar* bar);
    void clearSelection();
    // Places the caption, the tool bars and the list in the pane's rectangle.
    void layOut();
    // The pictures of the pane's tool buttons, put on at start and taken off at the end.
    void setButtonPictures();
    void removeButtonPictures();

    // The pane's controls, for the window's caption menu and the tests.
    QLabel* caption() const { return lblQueue; }
    QPushButton* newButton() const { return cmdPagesNew; }
    QPushButton* openButton() const { return cmdPagesOpen; }
    QPushButton* saveButton() const { return cmdPagesSave; }
    QPushButton* saveAsButton() const { return cmdSaveAs; }
    QPushButton* printButton() const { return cmdBatchPrint; }
    QMenu* contextMenu() const { return mnuContextBasket; }
    const std::array<QAction*, 6>& contextItems() const { return mnuContext; }
    ImageList* thumbnails() const { return ilPages.get(); }
    BasketAdder* adder() const { return basketAdder.get(); }

signals:
    // What the pane asks of the others: a row of a list (from 1) shown in the
    // preview; the preview's "Save Preview As" item by index; a new listing of the
    // folder shown, when there is one (new files may be there); the scanner, capture,
    // slide-show and screensaver windows (generateMode 0 the previewed image, 1 the
    // basket's images); the temporary page files of this run deleted.
    void showRowRequested(ListView* list, int row);
    void savePreviewAsRequested(int index);
    void folderRelistRequested();
    void scannerRequested();
    void captureRequested();
    void slideShowRequested();
    void screensaverRequested(int generateMode);
    void temporaryPagesDeleteRequested();

private:
    // Controls, named as the rest of the program addresses them.
    QWidget* PicQueue;
    QLabel* lblQueue;
    QWidget* picLiveBar;
    QPushButton* cmdPagesNew;
    QPushButton* cmdPagesOpen;
    QPushButton* cmdPagesSave;
    QPushButton* cmdPagesDelete;
    QPushButton* cmdSaveAs;
    QPushButton* cmdBatchPrint;
    QPushButton* cmdTwainAcquire;
    ListView* lvPages;
    ProgressBar* pbQueue;
    QMenu* mnuSaveAsParent;
    std::array<QAction*, 3> mnuSaveAs{};
    QMenu* mnuContextBasket;
    std::array<QAction*, 6> mnuContext{};
    // The basket's thumbnails, one per added row, keyed by their index as text.
    std::unique_ptr<ImageList> ilPages;
    // Adds folder rows to the basket (the add command and drops); one add at a time.
    std::unique_ptr<BasketAdder> basketAdder;
    // The bar of the add that runs: the folder pane's for the command, pbQueue for a
    // drop; the adder's progress goes there.
    ProgressBar* basketBar_ = nullptr;

    void buildQueuePane();
    void buildBasket();
    void buildBasketCommands();
    void subShowBasketContextMenu();
    void subRunBatchMenuCommand(const BatchMenuCommand& command);

    FileListFocus& listFocus_;
    PaneWindow& window_;
    PreviewedFile& preview_;
    PaneQueries& queries_;
};

// What saving the basket says about rows whose source is a temporary page (scans put
// into the basket), which the basket file names only until the run ends; empty when
// there are none.
QString fncTemporaryRowsNote(const ListView& basket);

} // namespace picbasket
