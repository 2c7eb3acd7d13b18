#pragma once
#include "browser/FileListFocus.h"
#include "browser/PreviewPane.h"
#include "controls/common/PaneWindow.h"
#include "engine/tasks/TaskRowList.h"
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
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;

namespace picbasket {

class ColorButton;
class FramePanel;
class MaskPanel;
class RedEyePanel;
class ShadowPanel;
class TextPanel;
class TonePanel;
class WatermarkPanel;
class BasketAdder;
struct BasketRow;
struct BasketSource;
class FolderListing;
struct FolderRow;
class FolderTreeview;
class frmDummy;
class frmFrameDummy;
struct BatchMenuCommand;
struct TaskBuild;
struct typFrameTask;
struct typTextTask;
struct typWatermarkTask;
class ImageBoxView;
class ImageList;
class KeyedImageList;
class isExplorerBar;
class ListView;
class ProgressBar;
class SelectionController;
class Splitter;
class StatusBar;
class TabStrip;
class TaskBasketReplay;

// The main window: the folder tree, the preview, the metadata lists, the folder's
// file list and the image basket, joined by a tree of four splitters, with the
// status bar below. It is built whole by the constructor; Form_Load brings the
// program up and closing the window takes it down (subEnd, other windows, temporary
// page files).
class frmMain : public QWidget,
                public PaneWindow,
                public PreviewFileLists,
                public PreviewMetadata,
                public PreviewEditing,
                public PreviewExport {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The panes that are classes of their own.
    MetadataPane& metadataPane() const { return *metadata_; }
    PreviewPane& previewPane() const { return *preview_; }
    // Which file list the preview follows, shared by the lists and the preview.
    FileListFocus& fileListFocus() { return listFocus_; }

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
    // What the preview pane reaches outside itself
    // (shell/mainwindow/frmMain_previewwiring.cpp).
    ListView* folderList() const override;
    ListView* basketList() const override;
    QString listedFolder() const override;
    void relistFolder() override;
    ListView* exifList() const override;
    ListView* iptcList() const override;
    TabStrip* metadataTabs() const override;
    void readExifInfo(ImageBox& box, const QString& filePath) override;
    void readIptcInfo(ImageBox& box, const QString& filePath) override;
    void showMetadataPane(bool exif, bool iptc) override;
    bool editViewShown() const override;
    void editImageChanged() override;
    void runTaskBasket(bool noStop) override;
    void editPreviewedImage() override;
    void markTaskOptionsChanged() override;
    QImage originalImage() const override;
    void setOriginalImage(const QImage& image) override;
    QString savePreviewDialog(ImageBox& box) override;
    void showGreetingDemo() override;
    void showScreensaverDemo(int generateMode) override;

    // Life-cycle flags.
    bool FormLoaded = false;
    bool RestoreFolderOnResize = false;
    bool AbortFolderListing = false;
    QString CurrentFolder;
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
    QWidget* picFileSystem;
    FolderTreeview* ftvBrowse;
    ListView* lvEdit;
    QWidget* picEditBar;
    std::array<QPushButton*, 4> cmdEditBar{};

    isExplorerBar* eb;
    // The sixteen task-option panels, in the order picContrast, picBrightness,
    // picSharpen, picBlur, picFlip, picResize, picRotate, picCrop, picWatermark,
    // picText, picNothing, picCanvas, picFrame, picMask, picShadow, picRedEye.
    std::array<QWidget*, 16> taskPanels{};
    QPushButton* cmdReset;
    QPushButton* cmdOriginalImage;
    std::array<QPushButton*, 4> cmdEditPreview{};
    ListView* lvEditPreview;
    QComboBox* cboMergeStyle;
    QComboBox* ComboFilter;
    QComboBox* cboPosition;
    QComboBox* comboFontSize;
    QComboBox* ComboFontFamily;

    QWidget* picFolder;
    QLabel* lblFolder;
    QWidget* PicToolbarFolder;
    QPushButton* cmdBrowseSettings;
    QPushButton* cmdBrowseAbout;
    QPushButton* cmdThumbnailFolder;
    QPushButton* cmdDetailFolder;
    QPushButton* cmdAddToQueue;
    QPushButton* cmdCapture;
    ListView* lvFolder;
    ProgressBar* pbAddToBasket;

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

    // Hidden helpers of the other subsystems.
    // The executable task rows, in step with lvEdit and lvEditPreview.
    TaskRowList lvEditBatch;
    std::unique_ptr<ImageList> illvFolder;
    // The thumbnails of the last thumbnail listing, keyed by their index as text.
    std::unique_ptr<ImageList> ilFolder;
    // The basket's thumbnails, one per added row, keyed by their index as text.
    std::unique_ptr<ImageList> ilPages;
    std::unique_ptr<BasketAdder> basketAdder;
    QTimer* timerShowFiles;
    FolderListing* folderListing;
    QMenu* mnuContextFolderParent;

    // The folder list (browser/frmMain_folder.cpp).
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
    void pbQueue_MouseDown();
    void mnuContextFolder_Click();
    void cmdAddToQueue_Click();

    // The edit view (editing/frmMain_edit.cpp).
    // Set when an option of the shown task panel changed; cleared by each Preview.
    bool TaskOptionsChanged = false;
    // Set by each Preview until the task is confirmed or dropped.
    bool ImageModified = false;
    // The preview image's size when editing started on it.
    int32_t EditOriginalWidth = 0;
    int32_t EditOriginalHeight = 0;
    // The explorer bar's host of the option panels, with Preview and Confirm.
    QWidget* picDialog;
    QPushButton* cmdApply;
    QPushButton* cmdOK;
    // The hint of the shared empty panel picNothing.
    QLabel* lblNothing;
    // The explorer bar's host of the edit view's task basket and its commands.
    QWidget* picEditPreview;
    // The task icons, by key: for the explorer bar, and for the task lists' rows.
    std::shared_ptr<KeyedImageList> ilEdit;
    std::unique_ptr<ImageList> ilEditRows;
    void subSetupExplorerBar();
    void eb_ItemClick(const QString& group, const QString& item);
    void CmdPreviewEdit_Click();
    void subShowTaskOptions();
    void subEnableApplyButtons(bool enable);
    // Runs the task basket on the preview; without noStop, up to the selected row
    // of the active task list.
    void subProcessTaskBasket(bool noStop);
    // Another image came into the preview; in the edit view editing starts again on it.
    void subEditViewImageChanged();
    bool fncIsEditView() const;
    // The option panel with the object name, nullptr for another name.
    QWidget* taskPanel(const QString& name) const;
    // Preview: applies the chosen task with the panel's options to the preview and
    // writes its slots; true when it applied (or, for no task, settled) anything.
    bool cmdApply_Click();
    // Marks the shown panel's options changed: Preview and Confirm are enabled.
    void subMarkOptionsChanged();
    // Stores the shown task's panel as the task's defaults in the setup record.
    void subSaveTaskOptions();
    // Confirm (or Finish, which leaves the edit view) and Reset of the pending task.
    virtual void cmdOK_Click();
    virtual void cmdReset_Click();

    // The image basket (browser/frmMain_basket.cpp). subAddBasketRow is the one entry
    // that adds a basket row (adding, basket files, capture, scanning): the thumbnail
    // joins ilPages and the row goes to the end, or to its place while the basket is
    // sorted; returns the row's number.
    int subAddBasketRow(const BasketRow& row, const QImage& thumbnail);
    void subAddDroppedFiles();
    void lvPages_ColumnClick(int column);
    // The basket list's focus, click, key and mouse events that preview its rows
    // (browser/frmMain_basketfocus.cpp).
    void lvPages_GotFocus();
    void lvPages_LostFocus();
    void lvPages_ItemClick(int row);
    void lvPages_KeyUp(int keyCode, int shift);
    void lvPages_MouseUp(int button, int shift, int x, int y);
    void lvPages_OLEDragOver(const QString& source, int x, int y);
    void lvPages_OLEDragDrop(const QString& source, int x, int y);

    // Shared option controls below the panels: the background colour of Rotate,
    // Canvas, Crop and Frame with its pick-from-image toggle, and the location pick.
    QGroupBox* FrameBackColor;
    ColorButton* picCropBackColor;
    QPushButton* chkCropBackColor;
    QGroupBox* picLocation;
    QPushButton* chkSelectLocation;
    QLabel* lblSelectLocation;
    // Flip.
    std::array<QRadioButton*, 2> optFlip{};
    // Rotate.
    QLineEdit* txtDegrees;
    QScrollBar* sbDegrees;
    std::array<QPushButton*, 4> cmdAngle{};
    QCheckBox* chkRotateResample;
    // Resize.
    std::array<QRadioButton*, 2> optResize{};
    QWidget* frameResize;
    QWidget* FrameScale;
    QLineEdit* txtResizeWidth;
    QLineEdit* txtResizeHeight;
    QCheckBox* chkResizeRatio;
    QLineEdit* txtScale;
    QCheckBox* chkResizeResample;
    bool ResizeWidthUpdating = false;
    bool ResizeHeightUpdating = false;
    // Crop.
    std::array<QRadioButton*, 2> optCropSelect{};
    QWidget* frameCropMouse;
    QWidget* frameCropFixed;
    QPushButton* chkCropMouse;
    QLabel* lblSelectRegionStart;
    QLabel* lblSelectRegionEnd;
    QLineEdit* txtCropLeft;
    QLineEdit* txtCropTop;
    QLineEdit* txtCropRight;
    QLineEdit* txtCropBot;
    QComboBox* cmbCrop;
    // Canvas: 0 above, 1 left, 2 right, 3 below.
    std::array<QLineEdit*, 4> txtCanvasCustom{};
    void txtResizeWidth_Change();
    void txtResizeHeight_Change();
    void optCropSelect_Click(int index);
    void cmbCrop_Click();
    void picCropBackColor_Click();
    void chkCropMouse_Click(bool ticked);
    // Puts the preview back to the last confirmed state when a task was previewed.
    void subResetPreviewView(bool keepOptions);

    // The task basket's commands, its files and row clicks (editing/frmMain_edit.cpp).
    // Index 0 clears the basket, 1 opens a ".tbf" file, 2 saves one, 3 removes the
    // selected task; any other index does nothing. The edit view's buttons and the
    // task-basket menu run the same commands.
    void cmdEditBar_Click(int index);
    void cmdEditPreview_Click(int index);
    // Clears the basket after asking, back to the image as loaded.
    void cmdOriginalImage_Click();
    // The basket replayed up to the clicked row (an intermediate preview).
    void lvEdit_ItemClick(int row);
    void lvEditPreview_ItemClick(int row);
    // Set by a row click: the preview shows the basket up to a row, not the confirmed
    // image, so the next Preview or Confirm starts from ConfirmedImageData.
    bool PreviewIntermediate = false;
    std::shared_ptr<TaskBasketReplay> taskReplay;
    void connectTaskBasketCommands();
    void subClearTaskBasket();
    void subOpenTaskBasketFile();
    void subSaveTaskBasketFile();
    void subRemoveSelectedTask();
    // After the rows changed: the whole basket replayed from the image as loaded and
    // taken as the confirmed state.
    void subReplayWholeTaskBasket();
    void subTaskRowClick(ListView* list);
    // The tone, overlay and effect panels (editing/frmMain_edit.cpp; each panel's
    // controls in a class of its own in editing/).
    TonePanel* blurOptions;
    TonePanel* sharpenOptions;
    TonePanel* contrastOptions;
    TonePanel* brightnessOptions;
    WatermarkPanel* watermarkOptions;
    TextPanel* textOptions;
    FramePanel* frameOptions;
    MaskPanel* maskOptions;
    ShadowPanel* shadowOptions;
    RedEyePanel* redEyeOptions;
    // The picture chosen in the shown effect panel: frame 0..7, mask 0..7 or
    // shadow 8..15.
    int16_t SelectedStyle = 0;
    // The image the watermark panel shows and Preview stamps.
    QString WatermarkFile;
    // Set by the pick toggle: the next press on the watermark picture picks its
    // transparent colour.
    bool PickWatermarkColor = false;
    void cmdSelectMerge_Click();
    void subLoadWatermarkImage(const QString& path);
    void chkRedEye_Click(bool ticked);
    // A colour button's click: the colour dialog, and the chosen colour marks the
    // options changed.
    void subPickButtonColour(ColorButton* button);

    // The pop-up menus, their hidden hosts and what pops them up
    // (browser/frmMain_menus.cpp). Menu items forward their index.
    QMenu* mnuAboutParent;
    // The hosts are made on first use; start-up loads frmFrameDummy.
    frmFrameDummy* FrameDummy();
    frmDummy* Dummy();
    void subLoadFrameDummy();
    void mnuAbout_Click(int index);
    void mnuBatch_Click(int index);
    void cmdBrowseAbout_Click();
    void lblBrowse_Click();
    void lblQueue_Click();
    void lblMetadata_Click();
    void tbsBrowse_Click();
    // Shows a pop-up menu at a screen position; tests put a recorder here.
    std::function<void(QMenu*, const QPoint&)> PopupMenu;
    // Opens an address or a file in the desktop's program for it (the about menu);
    // empty means subShellExecute. Tests put a recorder here.
    using LinkOpenerFn = std::function<bool(const QString&)>;
    LinkOpenerFn LinkOpener;

    // The windows the basket commands, the tool buttons and the menus open. Each is
    // defined in the file of the folder that owns the window: capture and scanning in
    // acquisition/frmMain_acquisition.cpp, the generated programs in
    // export/frmMain_export.cpp.
    void subShowCaptureDialog();
    void subShowTwainDialog();
    // Connects the browse tool bar's capture button (acquisition/frmMain_acquisition.cpp).
    void connectAcquisition();
    void subShowSlideShowDialog();
    // generateMode 0 the previewed image, 1 the basket's images.
    void subShowScreensaverDemo(int generateMode);
    void subShowGreetingDemo();

    // The basket's commands, its batch dispatcher, the basket menus and batch
    // printing (browser/frmMain_basketcommands.cpp, browser/frmMain_batchprint.cpp).
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
    void lvPages_KeyPress(int keyAscii);
    // "SaveAs" (0 JPEG 2000 files, 1 screensaver, 2 slide show) under the Save As
    // button, and the basket's context menu (0 to 2 save the row's image, 4 "Rename
    // title", 5 "Remove from basket").
    QMenu* mnuSaveAsParent;
    std::array<QAction*, 3> mnuSaveAs{};
    QMenu* mnuContextBasket;
    std::array<QAction*, 6> mnuContext{};
    void mnuSaveAs_Click(int index);
    void mnuContext_Click(int index);

    void subPopupMenu(QMenu* menu, const QPoint& globalPosition) override;
    QImage picture(const QString& pictureBox) const override;

signals:
    // The one-shot folder-listing timer has fired for CurrentFolder.
    void ShowFilesDue(const QString& folder);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildStatusBar();
    void buildBrowsePane();
    void buildPreviewPane();
    // The edit view's widgets inside the preview pane.
    void buildEditCommands(QWidget* toolbar);
    void buildEditViewWidgets(QWidget* host);
    void buildTaskPanels();
    void buildEditView();
    void fitDialogToPanel();
    void setPictureCaption(QPushButton* button, const QString& caption);
    void subEnterEditView();
    void subLeaveEditView();
    void subRestoreFolderTree();
    void subFitLeastSizeToFrame();
    void subStartEditingImage(bool wholeBasketShown);
    void subFillEditSizeBoxes();
    void buildSharedOptionControls();
    void buildFlipPanel();
    void buildRotatePanel();
    void buildResizePanel();
    void buildCropPanel();
    void buildCanvasPanel();
    void connectNumericBox(QLineEdit* box, const QString& defaultText);
    void subClampOptionBoxes();
    void subLoadTaskOptions();
    TaskBuild fncBuildTask() const;
    TaskBuild fncMouseCropBuild() const;
    void subApplyTask(typTask& task);
    void buildEffectPanels();
    void connectEffectPanels();
    void subLoadEffectOptions();
    void subSaveEffectOptions();
    TaskBuild fncBuildEffectTask() const;
    void subApplyWatermark(const typTask& task);
    void subRemoveRedEye();
    void subClampEffectBoxes();
    void subLoadWatermarkOptions(const typWatermarkTask& stored);
    void subLoadTextOptions(const typTextTask& stored);
    void subLoadFrameOptions(const typFrameTask& stored);
    void connectEditSelection();
    bool fncPreviewIsScaled() const;
    void subEndPickModes();
    void subEndMouseCrop();
    void buildFolderPane();
    void buildQueuePane();
    void buildMenus();
    void buildPopupMenus();
    void connectMenus();
    void connectFrameDummy();
    void subOpenHelpManual(const LinkOpenerFn& open);
    void subRunBatchMenuCommand(const BatchMenuCommand& command);
    void buildFolderListing();
    void buildBasket();
    void buildBasketCommands();
    void subShowBasketContextMenu();
    std::vector<BasketSource> selectedFolderRows() const;
    void setQueuePanel();

    void buildPreview();
    void addFolderRow(const FolderRow& row);
    void endFolderListing();
    void showFolderIcons(bool thumbnails);
    void subSetup();
    void layOutPreviewArea();
    void subLoadSettings();
    void subLoadSetupChecked();
    void applyWindowSize();
    void subSetHelpFile();
    void subSetStatusPictures();
    void subSetSplitterTree();
    void subSetButtonPictures();
    void subFillCombos();
    void subLoadToolTipTexts();
    void subRemoveButtonPictures();
    void subUnloadOtherWindows();
    void subDeleteTemporaryPages();
    void Form_Unload();
    void ftvBrowse_FolderChange(const QString& folder);

    InstanceLock instanceLock_;
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
    // The bar of the add that runs: pbAddToBasket for the command, pbQueue for a drop.
    ProgressBar* basketBar_ = nullptr;
    MetadataPane* metadata_ = nullptr;
    PreviewPane* preview_ = nullptr;
    FileListFocus listFocus_;
};

// What saving the basket says about rows whose source is a temporary page (scans put
// into the basket), which the basket file names only until the run ends; empty when
// there are none.
QString fncTemporaryRowsNote(const ListView& basket);
// The program folder with exactly one trailing "/".
QString fncAppPath();
// The places the help manual's first page may be, in the order they are tried: beside
// the program (a build), the program's share folders (QStandardPaths::AppDataLocation),
// the share folder of the prefix the program is installed in.
QStringList fncHelpManualPlaces();
// The first of those places that holds the manual, else the first place.
QString fncFindHelpManual();
} // namespace picbasket
