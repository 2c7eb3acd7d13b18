#pragma once
#include "acquisition/AcquisitionTarget.h"
#include "browser/BasketPane.h"
#include "browser/FileListBox.h"
#include "browser/FileListFocus.h"
#include "browser/FolderPane.h"
#include "controls/common/PaneWindow.h"
#include "engine/tasks/TaskRowList.h"
#include "export/modGenerators.h"
#include "editing/EditView.h"
#include "metadata/MetadataPane.h"
#include "platform/imagebox/ImageBox.h"
#include "shell/mainwindow/SingleInstance.h"

#include <QImage>
#include <QString>
#include <QVector>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QActionGroup;
class QButtonGroup;
class QListWidget;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;

namespace picbasket {

class BasketAdder;
struct BasketRow;
struct BasketSource;
class FolderListing;
struct FolderRow;
class FolderTreeview;
class frmDummy;
class frmFrameDummy;
struct BatchMenuCommand;
class ImageBoxView;
class ImageList;
class ListView;
class ProgressBar;
class SelectionController;
class Splitter;
class StatusBar;
class TabStrip;

// The main window: the folder tree, the preview, the metadata lists, the folder's
// file list and the image basket, joined by a tree of four splitters, with the
// status bar below. It is built whole by the constructor; Form_Load brings the
// program up and closing the window takes it down (subEnd, other windows, temporary
// page files).
class frmMain : public QWidget,
                public PreviewedFile,
                public PaneWindow,
                public AcquisitionTarget,
                public GeneratorHost,
                public FolderPaneHost,
                public BasketPaneHost,
                public EditViewHost {
    Q_OBJECT

public:
    // Without makeEditView the window makes the real edit view.
    explicit frmMain(QWidget* parent = nullptr, const EditViewFactory& makeEditView = {});
    ~frmMain() override;

    // The panes that are classes of their own.
    FolderPane& folderPane() const { return *folder_; }
    MetadataPane& metadataPane() const { return *metadata_; }
    BasketPane& basketPane() const { return *basket_; }
    EditView& editView() const { return *edit_; }
    // Which file list the preview follows, shared by the lists and the preview.
    FileListFocus& fileListFocus() { return listFocus_; }
    // PreviewedFile: the preview's box and its file, for the metadata pane (the box
    // serves the basket's BasketPaneHost too).
    ImageBox& previewBox() override;
    QString previewPath() const override;
    // FolderPaneHost: the preview and the basket as the folder pane sees them
    // (shell/mainwindow/frmMain_folderwiring.cpp).
    void showFolderRow(ListView* list, int row) override;
    FileListBox& folderFiles() override;
    ImageBox& listingBox() override;
    ProgressBar* listingBar() override;
    bool basketAddRuns() const override;
    void addFolderRowsToBasket(const std::vector<BasketSource>& rows, int maximum,
                               ProgressBar* bar) override;
    void clearBasketSelection() override;
    // BasketPaneHost: what the basket asks of the other panes and the window
    // (shell/mainwindow/frmMain_basketwiring.cpp).
    ImageBox& batchBox() override;
    void showListRow(ListView* list, int row) override;
    void savePreviewAs(int index) override;
    ListView* folderList() override;
    std::vector<BasketSource> folderRowsSelected() const override;
    bool& folderListingAbort() override;
    void relistFolderSoon() override;
    const TaskRowList& batchTaskRows() const override;
    void showScannerDialog() override;
    void showCaptureDialog() override;
    void showSlideShowDialog() override;
    void showScreensaverDemo(int generateMode) override;
    void deleteTemporaryPages() override;
    QMenu* batchMenu() override;
    // EditViewHost: the preview and the splitter tree, for the edit view
    // (shell/mainwindow/frmMain_editwiring.cpp).
    ImageBoxView* previewView() override;
    SelectionController* previewSelection() override;
    void clearPreviewSelection() override;
    bool previewOptimized() const override;
    bool previewUnchanged() const override;
    void setPreviewUnchanged(bool unchanged) override;
    QPushButton* previewEditButton() override;
    QMenu* previewMenu() override;
    void enablePreviewType(bool enable) override;
    bool editLayoutShown() const override;
    void enterEditLayout() override;
    void leaveEditLayout() override;
    void subRestoreFolderTree() override;

    // Start-up. False when another copy runs: the refusal was shown and the program
    // must end without any shut-down step.
    bool Form_Load();
    // Re-applies the display settings of the setup record (thumbnail sizes,
    // full-row select, tool tips).
    void subUpdateForm();
    // Saves the window's state into the setup record and writes the setup file.
    void subEnd();
    // PaneWindow: what the panes ask of the window.
    StatusBar* statusBar() override { return sbMain; }
    void subResize() override;
    // Shows the metadata pane unless both are False.
    void subShowMetadataPane(bool exif, bool iptc);
    void subSetStatusPanelText(const QString& text) override;

    // Life-cycle flags.
    bool FormLoaded = false;
    bool RestoreFolderOnResize = false;
    bool PreviewOptimized = false;
    bool PreviewUnchanged = false;
    // The help file of the program, set at start.
    QString HelpFile;

    // Controls, named as the rest of the program addresses them.
    StatusBar* sbMain;
    Splitter* splMain;
    Splitter* splRight;
    Splitter* splLeft;
    Splitter* splView;

    QWidget* picBrowse;
    QLabel* lblBrowse;
    TabStrip* tbsBrowse;

    QWidget* picView;
    QWidget* picToolbarPreview;
    QPushButton* cmdPreviewView;
    QPushButton* cmdPreviewPrevious;
    QPushButton* cmdPreviewNext;
    QPushButton* cmdPreviewType;
    QPushButton* cmdPreviewSave;
    QPushButton* CmdPreviewEdit;
    QPushButton* cmdPreviewPrint;
    QWidget* PicViewImage;
    ImageBoxView* ibMain;
    QScrollBar* vsbView;
    QScrollBar* hsbView;

    QPushButton* cmdBrowseSettings;
    QPushButton* cmdBrowseAbout;

    // Hidden helpers of the other subsystems.
    FileListBox fileMain;
    ImageBox ibTemp;
    QImage PicTiff;
    QString PicTiffTag;

    // Saves the preview's image through the save dialog
    // (shell/mainwindow/frmMain_exportwiring.cpp); does nothing while the preview is empty.
    void subSavePreviewToFile();

    // The preview pane (browser/frmMain_preview.cpp).
    // Shows the file behind a row of lvFolder or lvPages (rows from 1).
    void subShowSelectedFile(ListView* list, int row);
    // Loads the file into the box and fills the file panels; a file that cannot be
    // loaded leaves nothing shown.
    void fncReadFile(const QString& path, ImageBox& box);
    // Applies the checked fit to the shown image again.
    void subFixedSizeTiff();
    void vsbView_Change();
    void vsbView_Scroll();
    void hsbView_Change();
    void hsbView_Scroll();
    void cmdPreviewPrevious_Click();
    void cmdPreviewNext_Click();
    void subShowPreviousItem(ListView* list);
    void subShowNextItem(ListView* list);
    // Index 0 "Best Fit", 1 "Actual Size"; the checked item changes nothing.
    void mnuPreviewFit_Click(int index);
    void cmdPreviewView_Click();
    void ibMain_MouseDown(int button, int shift, int x, int y);
    void ibMain_MouseMove(int shift, int x, int y);
    void ibMain_MouseUp(int button, int shift, int x, int y);
    void ibMain_LoadSettled();
    // Erases the marks on the preview and forgets the rectangle.
    void subClearSelection();
    // The mouse modes, corners, grips and picked points of the preview.
    SelectionController* PreviewSelection;

    // Pops up the preview menu at the pointer (filled by the menus; empty until then).
    void subShowPreviewMenu();

    // The pop-up menus, their hidden hosts and what pops them up
    // (browser/frmMain_menus.cpp). Menu items forward their index.
    QMenu* mnuPreviewParent;
    QMenu* mnuSavePreviewAsParent;
    QMenu* mnuAboutParent;
    // The "Preview" caption at the start of the preview tool bar.
    QLabel* Label4;
    // The hosts are made on first use; start-up loads frmFrameDummy.
    frmFrameDummy* FrameDummy();
    frmDummy* Dummy();
    void subLoadFrameDummy();
    void mnuPreview_Click(int index);
    void mnuPreviewType_Click(int index);
    void mnuAbout_Click(int index);
    void cmdPreviewSave_Click();
    void cmdPreviewType_Click();
    void cmdPreviewPrint_Click();
    void cmdBrowseAbout_Click();
    void Label4_Click();
    void lblBrowse_Click();
    void lblMetadata_Click();
    void tbsBrowse_Click();
    // Shows a pop-up menu at a screen position; tests put a recorder here.
    std::function<void(QMenu*, const QPoint&)> PopupMenu;
    // Opens an address or a file in the desktop's program for it (the about menu);
    // empty means subShellExecute. Tests put a recorder here.
    using LinkOpenerFn = std::function<bool(const QString&)>;
    LinkOpenerFn LinkOpener;

    // The windows the basket commands, the tool buttons and the menus open, shown by
    // the folder that owns the window: capture and scanning by acquisition/ (through
    // shell/mainwindow/frmMain_acquisitionwiring.cpp), the generated programs by
    // export/ (through shell/mainwindow/frmMain_exportwiring.cpp).
    void subShowCaptureDialog();
    void subShowTwainDialog();
    // Connects the browse tool bar's capture button.
    void connectAcquisition();
    void subShowSlideShowDialog();
    // generateMode 0 the previewed image, 1 the basket's images.
    void subShowScreensaverDemo(int generateMode);
    void subShowGreetingDemo();
    // AcquisitionTarget: what a capture or a scan reaches of the window and its panes
    // (shell/mainwindow/frmMain_acquisitionwiring.cpp).
    QWidget& acquisitionWindow() override;
    PaneWindow& acquisitionPaneWindow() override;
    ImageBoxView& acquisitionPreview() override;
    void setAcquiredPicture(const QImage& picture) override;
    void setAcquiredFile(const QString& path) override;
    void clearAcquisitionSelection() override;
    void fitAcquiredPicture() override;
    int acquisitionPreviewFit() const override;
    void acquiredPictureChanged() override;
    int addAcquiredBasketRow(const BasketRow& row, const QImage& thumbnail) override;
    void showAcquiredMetadata(ImageBox& box, const QString& path) override;
    // GeneratorHost: what the generator dialogs read of the window and its panes
    // (shell/mainwindow/frmMain_exportwiring.cpp).
    QWidget& generatorOwner() override;
    const ListView& generatorTaskList() override;
    const ListView& generatorEditTaskList() override;
    const TaskRowList& generatorTaskRows() override;
    const ListView& generatorBasket() override;
    QString generatorPreviewedFile() override;

    // The preview's "Save Preview As" items (0 image document, 1 greeting image, 2
    // single-image screensaver).
    void mnuSavePreviewAs_Click(int index);

    // The preview menus: index 0 "Best Fit", 1 "Actual Size"; 0 "Original",
    // 1 "Optimized".
    QMenu* mnuPreviewFitParent;
    QMenu* mnuPreviewTypeParent;
    int checkedPreviewFit() const;
    int checkedPreviewType() const;

    void subPopupMenu(QMenu* menu, const QPoint& globalPosition) override;
    QImage picture(const QString& pictureBox) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildStatusBar();
    void buildBrowsePane();
    void buildPreviewPane();
    void subFitLeastSizeToFrame();
    void buildMenus();
    void buildPopupMenus();
    void connectMenus();
    void connectFrameDummy();
    void subOpenHelpManual(const LinkOpenerFn& open);

    void buildPreview();
    void connectPreviewSelection();
    void subShowPreviewPanels();
    void subClearFilePanels();
    void subShowUnreadableFile(const QString& path, const QString& reason);
    ListView* activeFileList() const;
    void subSetup();
    void layOutPreviewArea();
    int layOutPreviewToolbar();
    void subLoadSettings();
    void subLoadSetupChecked();
    void applyWindowSize();
    void subSetImageBoxDefaults();
    void subSetHelpFile();
    void subSetStatusPictures();
    void subSetSplitterTree();
    void subSetButtonPictures();
    void subLoadToolTipTexts();
    void subRemoveButtonPictures();
    void subUnloadOtherWindows();
    void subDeleteTemporaryPages();
    void Form_Unload();
    void setCaption(QPushButton* button, const QString& caption);

    InstanceLock instanceLock_;
    QActionGroup* previewFit_;
    QActionGroup* previewType_;
    frmFrameDummy* frameDummy_ = nullptr;
    frmDummy* dummy_ = nullptr;
    bool unloaded_ = false;
    // The folder tree's selected folder and scroll position when the edit view came,
    // put back when the explorer view returns.
    struct FolderTreePlace {
        QString folder;
        int vertical = 0;
        int horizontal = 0;
    } folderTreePlace_;
    FolderPane* folder_ = nullptr;
    // The folder tree, built with the browse pane and handed to the folder pane.
    FolderPane::FolderTree folderTree_;
    MetadataPane* metadata_ = nullptr;
    BasketPane* basket_ = nullptr;
    std::unique_ptr<EditView> edit_;
    FileListFocus listFocus_;
    // The row being previewed while subShowSelectedFile runs.
    ListView* previewList_ = nullptr;
    int previewRow_ = 0;
};

// The status text of a file the preview could not show: its name and why.
QString fncUnreadableFileText(const QString& path, const QString& reason);
// The program folder with exactly one trailing "/".
QString fncAppPath();
// The places the help manual's first page may be, in the order they are tried: beside
// the program (a build), the program's share folders (QStandardPaths::AppDataLocation),
// the share folder of the prefix the program is installed in.
QStringList fncHelpManualPlaces();
// The first of those places that holds the manual, else the first place.
QString fncFindHelpManual();
// The zoom of the preview as the status bar shows it: the whole percent, halves to
// the even number, and "%".
QString fncZoomText(double zoom);
// The percent the preview is shown at: with AutoZoom the fitted scale, else Zoom.
double fncShownZoom(const ImageBox& box);
// Sizes the preview to its shown image and centres it in the holder where it is
// smaller (else puts it at that side's start), and sets the scroll bars' ranges.
// A box larger than the holder takes the place its scroll bar's value gives.
void subFitPreview(QWidget* holder, ImageBoxView* box, QScrollBar* hsb, QScrollBar* vsb);

} // namespace picbasket
