#pragma once
#include "controls/common/PaneWindow.h"
#include "engine/tasks/TaskRowList.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace picbasket {

class ColorButton;
class FramePanel;
class ImageBoxView;
class ImageList;
class isExplorerBar;
class KeyedImageList;
class ListView;
class MaskPanel;
class RedEyePanel;
class SelectionController;
class ShadowPanel;
class TaskBasketReplay;
class TextPanel;
class TonePanel;
class WatermarkPanel;
struct TaskBuild;
struct typFrameTask;
struct typTextTask;
struct typWatermarkTask;

// What the edit view asks of the preview and of the window's splitter tree: the
// preview's box and its selection, the preview's flags the edit view reads and
// sets, the preview tool bar's Edit button and menu, and the switch of the splitter
// tree between the explorer view and the edit view.
class EditViewHost {
public:
    virtual ImageBoxView* previewView() = 0;
    virtual SelectionController* previewSelection() = 0;
    // Erases the marks on the preview and forgets the rectangle.
    virtual void clearPreviewSelection() = 0;
    // The preview shows the image with the task basket applied.
    virtual bool previewOptimized() const = 0;
    // The preview shows the last confirmed state (nothing previewed since).
    virtual bool previewUnchanged() const = 0;
    virtual void setPreviewUnchanged(bool unchanged) = 0;
    // The preview tool bar's Edit button, its menu (the first item enters or leaves
    // the edit view) and whether its type switch may be used.
    virtual QPushButton* previewEditButton() = 0;
    virtual QMenu* previewMenu() = 0;
    virtual void enablePreviewType(bool enable) = 0;
    // The splitter tree shows the edit view.
    virtual bool editLayoutShown() const = 0;
    // The splitter tree changed to the edit view, keeping the folder tree's place.
    virtual void enterEditLayout() = 0;
    // The splitter tree changed back to the explorer view.
    virtual void leaveEditLayout() = 0;
    // Puts the folder tree back at the place it had when the edit view came.
    virtual void subRestoreFolderTree() = 0;

protected:
    ~EditViewHost() = default;
};

// The edit view of the main window: the task chooser in the explorer bar with the
// option panels and their Preview and Confirm, the task basket in its two lists (the
// explorer view's lvEdit and the edit view's lvEditPreview) with the hidden rows the
// task engine runs, and the state of the task being edited. It has no widget of its
// own: its controls sit in the preview pane and in the browse pane.
class EditView : public QObject {
    Q_OBJECT

public:
    // Dialogs the edit view opens (the colour dialog) sit on dialogParent.
    EditView(PaneWindow& window, EditViewHost& host, QWidget* dialogParent);
    ~EditView() override;

    // The controls are built in steps, at the places of the window's build where they
    // join their hosts, so that their order among the hosts' children stays: the
    // explorer view's task basket in the browse pane, Reset and the original image
    // on the preview tool bar, the explorer bar with its panels in the preview pane,
    // then the panels' contents, the task basket's commands and the preview's links.
    void buildTaskList(QWidget* picBrowse);
    void buildPreviewButtons(QWidget* picToolbarPreview);
    void buildExplorerBar(QWidget* picView);
    void buildEditView();
    void connectEditSelection();
    // The lists of the stamp, resize and text panels.
    void subFillCombos();

    // The task chooser, the view switch and the task being edited.
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
    // Virtual so that a test can see that the buttons and keys reach them.
    virtual void cmdOK_Click();
    virtual void cmdReset_Click();

    void txtResizeWidth_Change();
    void txtResizeHeight_Change();
    void optCropSelect_Click(int index);
    void cmbCrop_Click();
    void picCropBackColor_Click();
    void chkCropMouse_Click(bool ticked);
    // Puts the preview back to the last confirmed state when a task was previewed.
    void subResetPreviewView(bool keepOptions);

    // The task basket's commands, its files and row clicks.
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
    void connectTaskBasketCommands();
    void subClearTaskBasket();
    void subOpenTaskBasketFile();
    void subSaveTaskBasketFile();
    void subRemoveSelectedTask();
    // After the rows changed: the whole basket replayed from the image as loaded and
    // taken as the confirmed state.
    void subReplayWholeTaskBasket();
    void subTaskRowClick(ListView* list);
    // The tone, overlay and effect panels.
    void cmdSelectMerge_Click();
    void subLoadWatermarkImage(const QString& path);
    void chkRedEye_Click(bool ticked);
    // A colour button's click: the colour dialog, and the chosen colour marks the
    // options changed.
    void subPickButtonColour(ColorButton* button);

    // The explorer view's task basket and its commands, in the browse pane.
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

    // The executable task rows, in step with lvEdit and lvEditPreview.
    TaskRowList lvEditBatch;

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

    // Set by a row click: the preview shows the basket up to a row, not the confirmed
    // image, so the next Preview or Confirm starts from ConfirmedImageData.
    bool PreviewIntermediate = false;
    std::shared_ptr<TaskBasketReplay> taskReplay;

    // The tone, overlay and effect panels (each panel's controls in a class of its
    // own in editing/).
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

private:
    void buildTaskPanels();
    void fitDialogToPanel();
    void setPictureCaption(QPushButton* button, const QString& caption);
    void subEnterEditView();
    void subLeaveEditView();
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
    bool fncPreviewIsScaled() const;
    void subEndPickModes();
    void subEndMouseCrop();

    PaneWindow& window_;
    EditViewHost& host_;
    QWidget* dialogParent_;
    // The preview pane, host of the explorer bar, the option panels' dialog and the
    // edit view's task basket.
    QWidget* previewHost_ = nullptr;
};

// Makes the window's edit view; a test may hand the window one of its own.
using EditViewFactory =
    std::function<std::unique_ptr<EditView>(PaneWindow&, EditViewHost&, QWidget*)>;

} // namespace picbasket
