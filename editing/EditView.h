#pragma once
#include "controls/common/PaneWindow.h"
#include "editing/TaskBasketRows.h"
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

// What the edit view needs answered at once by the preview and the window's splitter
// tree; everything it asks that needs no answer it emits as a signal of EditView.
class EditViewHost {
public:
    // The preview's box, which every task runs on and is measured from, and its
    // selection, whose modes and picked points the panels read and set.
    virtual ImageBoxView* previewView() = 0;
    virtual SelectionController* previewSelection() = 0;
    // The preview shows the image with the task basket applied: decides whether the
    // shown image is taken as the basket run on entry and what leaving puts back.
    virtual bool previewOptimized() const = 0;
    // The preview shows the last confirmed state (nothing previewed since): decides
    // whether Reset and Preview must put the confirmed image back first.
    virtual bool previewUnchanged() const = 0;
    // The preview tool bar's Edit button and its menu: the edit view connects the
    // button's click, and its caption and the menu's first item name the view the
    // button switches to.
    virtual QPushButton* previewEditButton() = 0;
    virtual QMenu* previewMenu() = 0;
    // The splitter tree shows the edit view: read at once by every step that differs
    // between the two views.
    virtual bool editLayoutShown() const = 0;

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

    // What the edit view provides: the task basket's lists, rows and commands, the
    // explorer bar with its option panels and their controls, the state of the task
    // being edited, for the window's layout and button pictures, the generators and
    // the tests. The task basket in the explorer view (lvEdit, its tool bar) and in
    // the edit view (lvEditPreview, its commands), and the rows the engine runs.
    ListView* taskList() const { return lvEdit; }
    QWidget* taskListBar() const { return picEditBar; }
    const std::array<QPushButton*, 4>& taskListButtons() const { return cmdEditBar; }
    ListView* editTaskList() const { return lvEditPreview; }
    QWidget* editTaskHost() const { return picEditPreview; }
    const std::array<QPushButton*, 4>& editTaskButtons() const { return cmdEditPreview; }
    const TaskRowList& taskRows() const { return lvEditBatch; }
    // The three lists as the one basket whose rows are added, removed and cleared
    // together.
    TaskBasketRows taskBasket() { return TaskBasketRows(*lvEdit, *lvEditPreview, lvEditBatch); }
    // The explorer bar, the sixteen option panels in taskPanels' order, their host
    // with Preview, Confirm, Reset and the original image, and the empty panel's hint.
    isExplorerBar* explorerBar() const { return eb; }
    const std::array<QWidget*, 16>& optionPanels() const { return taskPanels; }
    QWidget* optionsDialog() const { return picDialog; }
    QPushButton* applyButton() const { return cmdApply; }
    QPushButton* confirmButton() const { return cmdOK; }
    QPushButton* resetButton() const { return cmdReset; }
    QPushButton* originalButton() const { return cmdOriginalImage; }
    QLabel* nothingHint() const { return lblNothing; }
    // The state of the task being edited. The preview's picks mark the options
    // changed; a test sets the image modified where its own edit view's Confirm and
    // Reset do not clear it.
    bool taskOptionsChanged() const { return TaskOptionsChanged; }
    void setTaskOptionsChanged(bool changed) { TaskOptionsChanged = changed; }
    bool imageModified() const { return ImageModified; }
    void setImageModified(bool modified) { ImageModified = modified; }
    int32_t originalWidth() const { return EditOriginalWidth; }
    int32_t originalHeight() const { return EditOriginalHeight; }
    int16_t selectedStyle() const { return SelectedStyle; }
    const QString& watermarkFile() const { return WatermarkFile; }
    bool pickingWatermarkColour() const { return PickWatermarkColor; }
    // The shared background colour and location controls.
    QGroupBox* backColourFrame() const { return FrameBackColor; }
    ColorButton* backColourButton() const { return picCropBackColor; }
    QPushButton* backColourPick() const { return chkCropBackColor; }
    QGroupBox* locationFrame() const { return picLocation; }
    QPushButton* locationPick() const { return chkSelectLocation; }
    // Flip, Rotate, Resize, Crop and Canvas.
    const std::array<QRadioButton*, 2>& flipOptions() const { return optFlip; }
    QLineEdit* degreesBox() const { return txtDegrees; }
    QScrollBar* degreesBar() const { return sbDegrees; }
    const std::array<QPushButton*, 4>& angleButtons() const { return cmdAngle; }
    QCheckBox* rotateResample() const { return chkRotateResample; }
    const std::array<QRadioButton*, 2>& resizeOptions() const { return optResize; }
    QLineEdit* widthBox() const { return txtResizeWidth; }
    QLineEdit* heightBox() const { return txtResizeHeight; }
    QCheckBox* keepRatio() const { return chkResizeRatio; }
    QLineEdit* scaleBox() const { return txtScale; }
    QCheckBox* resizeResample() const { return chkResizeResample; }
    QComboBox* resizeFilterCombo() const { return ComboFilter; }
    const std::array<QRadioButton*, 2>& cropOptions() const { return optCropSelect; }
    QPushButton* cropMouseToggle() const { return chkCropMouse; }
    QLineEdit* cropLeftBox() const { return txtCropLeft; }
    QLineEdit* cropTopBox() const { return txtCropTop; }
    QLineEdit* cropRightBox() const { return txtCropRight; }
    QLineEdit* cropBottomBox() const { return txtCropBot; }
    QComboBox* cropShapeCombo() const { return cmbCrop; }
    const std::array<QLineEdit*, 4>& canvasBoxes() const { return txtCanvasCustom; }
    // The stamp and text lists, and the tone, overlay and effect panels.
    QComboBox* mergeStyleCombo() const { return cboMergeStyle; }
    QComboBox* textPositionCombo() const { return cboPosition; }
    QComboBox* fontSizeCombo() const { return comboFontSize; }
    QComboBox* fontFamilyCombo() const { return ComboFontFamily; }
    TonePanel* blurPanel() const { return blurOptions; }
    TonePanel* sharpenPanel() const { return sharpenOptions; }
    TonePanel* contrastPanel() const { return contrastOptions; }
    TonePanel* brightnessPanel() const { return brightnessOptions; }
    WatermarkPanel* watermarkPanel() const { return watermarkOptions; }
    TextPanel* textPanel() const { return textOptions; }
    FramePanel* framePanel() const { return frameOptions; }
    MaskPanel* maskPanel() const { return maskOptions; }
    ShadowPanel* shadowPanel() const { return shadowOptions; }
    RedEyePanel* redEyePanel() const { return redEyeOptions; }

signals:
    // What the edit view asks of the preview and the window without an answer; the
    // window connects them directly, so each runs to its end before the emit returns.
    // Erase the marks on the preview and forget its rectangle.
    void previewSelectionClearRequested();
    // Set the preview's "last confirmed state shown" flag.
    void previewUnchangedRequested(bool unchanged);
    // Let the preview's type switch be used, or not.
    void previewTypeEnableRequested(bool enable);
    // Change the splitter tree to the edit view, keeping the folder tree's place.
    void editLayoutRequested();
    // Change the splitter tree back to the explorer view.
    void explorerLayoutRequested();
    // Put the folder tree back at the place it had when the edit view came.
    void folderTreeRestoreRequested();

private:
    // Controls and state, named as the rest of the program addresses them.
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
