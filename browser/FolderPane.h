#pragma once
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace picbasket {

struct BasketSource;
class FileListBox;
struct FileListFocus;
class FolderListing;
struct FolderRow;
class FolderTreeview;
class ImageBox;
class ImageList;
class ListView;
class PaneWindow;
class ProgressBar;

// What the folder pane needs of the panes beside it: the preview, which shows a row,
// lists the folder's image files and lends its box to decode thumbnails in, and the
// basket, which takes the selected rows and whose bar shows the listing's progress.
class FolderPaneHost {
public:
    // Shows the file behind a row of the list (rows from 1) in the preview.
    virtual void showFolderRow(ListView* list, int row) = 0;
    // The preview's file list box: its Path is the folder shown in the folder list.
    virtual FileListBox& folderFiles() = 0;
    // The box the listing decodes thumbnails in.
    virtual ImageBox& listingBox() = 0;
    // The basket's bar: it shows the listing's progress, and a press on it stops the
    // listing.
    virtual ProgressBar* listingBar() = 0;
    // Whether an add to the basket runs; a second one is refused meanwhile.
    virtual bool basketAddRuns() const = 0;
    // Adds the rows to the basket with bar showing the add's progress (maximum rows),
    // names the folder on the status bar and lays out the window again; reports the
    // files that were not added. The bar is hidden again on every way out.
    virtual void addFolderRowsToBasket(const std::vector<BasketSource>& rows, int maximum,
                                       ProgressBar* bar) = 0;
    // No basket row is left selected.
    virtual void clearBasketSelection() = 0;

protected:
    ~FolderPaneHost() = default;
};

// The folder pane: the folder tree and the list of the chosen folder's image files,
// as thumbnails or details, with its tool bar and the list's own events. The pane is
// its own root widget (picFolder) in the window's splitter tree; the tree and its host
// sit in the window's browse pane, beside the task basket's list, so they are built
// there first (buildFolderTree) and handed to the pane. The window lays out the
// pane's children.
class FolderPane : public QWidget {
    Q_OBJECT

public:
    // The folder tree and the widget that hosts it.
    struct FolderTree {
        QWidget* host = nullptr;
        FolderTreeview* tree = nullptr;
    };
    static FolderTree buildFolderTree(QWidget* browseHost);

    FolderPane(QWidget* parent, const FolderTree& tree, PaneWindow& window,
               FileListFocus& listFocus, FolderPaneHost& host);
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

signals:
    // The one-shot folder-listing timer has fired for CurrentFolder.
    void ShowFilesDue(const QString& folder);

private:
    void addFolderRow(const FolderRow& row);
    void endFolderListing();
    void showFolderIcons(bool thumbnails);

    PaneWindow& window_;
    FileListFocus& listFocus_;
    FolderPaneHost& host_;
    QPushButton* cmdBrowseSettings_;
    QPushButton* cmdBrowseAbout_;
};

} // namespace picbasket
