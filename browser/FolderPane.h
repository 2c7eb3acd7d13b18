#pragma once
#include "browser/BasketAdder.h"

#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace picbasket {

class FileListBox;
struct FileListFocus;
class FolderListing;
struct FolderRow;
class FolderTreeview;
class ImageBox;
class ImageList;
class ListView;
class PaneQueries;
class PreviewedFile;
class PaneWindow;
class ProgressBar;

// The folder pane: the folder tree and the list of the chosen folder's image files,
// as thumbnails or details, with its tool bar and the list's own events. The pane is
// its own root widget (picFolder) in the window's splitter tree; the tree and its host
// sit in the window's browse pane, beside the task basket's list, so they are built
// there first (buildFolderTree) and handed to the pane. The pane lays out its own
// children (layOut); the window places the tree. What the pane needs of the others
// at once it asks PaneQueries; the rest it asks by its signals, which the window
// connects.
class FolderPane : public QWidget {
    Q_OBJECT
    Q_MOC_INCLUDE("platform/comctl/ListView.h")
    Q_MOC_INCLUDE("platform/comctl/ProgressBar.h")

public:
    // The folder tree and the widget that hosts it.
    struct FolderTree {
        QWidget* host = nullptr;
        FolderTreeview* tree = nullptr;
    };
    static FolderTree buildFolderTree(QWidget* browseHost);

    FolderPane(QWidget* parent, const FolderTree& tree, PaneWindow& window,
               FileListFocus& listFocus, PreviewedFile& preview, PaneQueries& queries);
    ~FolderPane() override;

    // The window's settings and about buttons, which stand on the pane's tool bar.
    QPushButton* settingsButton() const { return cmdBrowseSettings_; }
    QPushButton* aboutButton() const { return cmdBrowseAbout_; }

    // Connects the listing and the list's events; the preview and the basket exist by
    // now.
    void buildFolderListing();

    // The folder list (browser/FolderPane.cpp).
    void subShowFilesInFolder(const QString& folder);
    void cmdThumbnailFolder_Click();
    void cmdDetailFolder_Click();
    void lvFolder_GotFocus();
    void lvFolder_ColumnClick(int column);
    void lvFolder_ItemClick(int row);
    void lvFolder_KeyPress(int keyAscii);
    void lvFolder_KeyUp(int keyCode, int shift);
    void lvFolder_MouseUp(int button, int shift, int x, int y);
    void lvFolder_DblClick();
    void lvFolder_OLEDragDrop();
    void mnuContextFolder_Click();
    // Adds the selected folder rows to the basket.
    void cmdAddToQueue_Click();
    // Copies of the selected folder rows in list order, with their own thumbnails when
    // the folder list holds thumbnails.
    std::vector<BasketSource> selectedFolderRows() const;
    // A new folder chosen in the tree: the listing that runs stops and the new one
    // starts a moment later.
    void ftvBrowse_FolderChange(const QString& folder);

    // What the pane gives the others: the folder list, the tree, the folder chosen
    // last, the stop of the listing that runs and a new listing of the folder shown.
    ListView* list() const { return lvFolder; }
    FolderTreeview* tree() const { return ftvBrowse; }
    QWidget* treeHost() const { return picFileSystem; }
    const QString& currentFolder() const { return CurrentFolder; }
    // A press on the basket's bar or a new folder sets the stop; every way out of a
    // listing clears it. The batch print of the basket honours the same flag.
    void abortListing() { AbortFolderListing = true; }
    bool listingAborted() const { return AbortFolderListing; }
    bool& listingAbortFlag() { return AbortFolderListing; }
    // Lists the folder shown again a moment later, when there is one; with a file
    // just written, only when the file lies in that folder.
    void relistSoon();
    void relistIfHolds(const QString& file);
    // Places the caption, its tool bar and the list in the pane's rectangle.
    void layOut();
    // The pictures of the pane's tool buttons, put on at start and taken off at the end.
    void setButtonPictures();
    void removeButtonPictures();

    // The pane's controls, for the tests that press or read them.
    QLabel* caption() const { return lblFolder; }
    QPushButton* addButton() const { return cmdAddToQueue; }
    QPushButton* thumbnailButton() const { return cmdThumbnailFolder; }
    QPushButton* detailButton() const { return cmdDetailFolder; }
    QPushButton* captureButton() const { return cmdCapture; }
    ProgressBar* addBar() const { return pbAddToBasket; }
    QMenu* contextMenu() const { return mnuContextFolderParent; }
    ImageList* detailIcons() const { return illvFolder.get(); }
    ImageList* thumbnails() const { return ilFolder.get(); }
    QTimer* listingTimer() const { return timerShowFiles; }
    FolderListing* listing() const { return folderListing; }

signals:
    // The one-shot folder-listing timer has fired for CurrentFolder.
    void ShowFilesDue(const QString& folder);
    // What the pane asks of the others: a row of the list (from 1) shown in the
    // preview; the selected rows added to the basket (maximum: the rows of the list),
    // bar showing the add's progress; no basket row left selected; the capture dialog.
    void showRowRequested(ListView* list, int row);
    void addToBasketRequested(const std::vector<BasketSource>& rows, int maximum,
                              ProgressBar* bar);
    void basketSelectionClearRequested();
    void captureRequested();

private:
    // Set to stop the listing (a press on the basket's bar, a new folder); cleared on
    // every way out of a listing.
    bool AbortFolderListing = false;
    // The folder last chosen in the tree, listed when timerShowFiles fires.
    QString CurrentFolder;

    // Controls, named as the rest of the program addresses them.
    QWidget* picFileSystem;
    FolderTreeview* ftvBrowse;
    QWidget* picFolder;
    QLabel* lblFolder;
    QWidget* PicToolbarFolder;
    QPushButton* cmdThumbnailFolder;
    QPushButton* cmdDetailFolder;
    QPushButton* cmdAddToQueue;
    QPushButton* cmdCapture;
    ListView* lvFolder;
    ProgressBar* pbAddToBasket;
    QMenu* mnuContextFolderParent;
    // The one small icon of details view.
    std::unique_ptr<ImageList> illvFolder;
    // The thumbnails of the last thumbnail listing, keyed by their index as text.
    std::unique_ptr<ImageList> ilFolder;
    QTimer* timerShowFiles;
    FolderListing* folderListing;

    void addFolderRow(const FolderRow& row);
    void endFolderListing();
    void showFolderIcons(bool thumbnails);

    PaneWindow& window_;
    FileListFocus& listFocus_;
    PreviewedFile& preview_;
    PaneQueries& queries_;
    QPushButton* cmdBrowseSettings_;
    QPushButton* cmdBrowseAbout_;
};

} // namespace picbasket
