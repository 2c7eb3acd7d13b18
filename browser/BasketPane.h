#pragma once
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

class BasketAdder;
struct BasketRow;
struct BasketSource;
struct BatchMenuCommand;
struct FileListFocus;
class ImageBox;
class ImageList;
class ListView;
class PaneWindow;
class ProgressBar;
class TaskRowList;

// What the basket needs of the panes around it: the preview that shows and prints its
// rows, the folder list its rows come from, the edit view's tasks the batch applies,
// and the windows its commands open.
class BasketPaneHost {
public:
    // The preview's image box, and the hidden box the batch converts in.
    virtual ImageBox& previewBox() = 0;
    virtual ImageBox& batchBox() = 0;
    // Shows the file behind a row (from 1) of a file list in the preview.
    virtual void showListRow(ListView* list, int row) = 0;
    // The preview's "Save Preview As" items by index.
    virtual void savePreviewAs(int index) = 0;
    // The folder list, and copies of its selected rows in list order.
    virtual ListView* folderList() = 0;
    virtual std::vector<BasketSource> folderRowsSelected() const = 0;
    // The flag a press on the basket's bar sets: it stops a folder listing and a
    // batch print.
    virtual bool& folderListingAbort() = 0;
    // Lists the folder shown again shortly, when there is one (new files may be there).
    virtual void relistFolderSoon() = 0;
    // The edit view's task rows, applied to every basket row by the batch.
    virtual const TaskRowList& batchTaskRows() const = 0;
    virtual void showScannerDialog() = 0;
    virtual void showCaptureDialog() = 0;
    virtual void showSlideShowDialog() = 0;
    // generateMode 0 the previewed image, 1 the basket's images.
    virtual void showScreensaverDemo(int generateMode) = 0;
    // Deletes the temporary page files (scans and split pages) of this run.
    virtual void deleteTemporaryPages() = 0;
    // The batch menu the caption pops up.
    virtual QMenu* batchMenu() = 0;

protected:
    ~BasketPaneHost() = default;
};

// The image basket: the list of files a batch works on, with its thumbnails, its tool
// bars (new, open, save, remove; Save As, print, scanner), its menus and the batch
// commands. The pane is its own root widget (PicQueue); the window places it in its
// splitter tree and lays out its children. subAddBasketRow is the one entry that adds
// a row, whoever adds (the folder's add command, a drop, basket files, capture,
// scanning).
class BasketPane : public QWidget {
    Q_OBJECT

public:
    BasketPane(QWidget* parent, FileListFocus& listFocus, PaneWindow& window, BasketPaneHost& host);
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

private:
    void buildQueuePane();
    void buildBasket();
    void buildBasketCommands();
    void subShowBasketContextMenu();
    void subRunBatchMenuCommand(const BatchMenuCommand& command);

    FileListFocus& listFocus_;
    PaneWindow& window_;
    BasketPaneHost& host_;
};

// What saving the basket says about rows whose source is a temporary page (scans put
// into the basket), which the basket file names only until the run ends; empty when
// there are none.
QString fncTemporaryRowsNote(const ListView& basket);

} // namespace picbasket
