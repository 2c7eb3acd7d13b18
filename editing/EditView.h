#pragma once
#include "engine/tasks/TaskRowList.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace picbasket {

class ColorButton;
class FramePanel;
class ImageList;
class isExplorerBar;
class KeyedImageList;
class ListView;
class MaskPanel;
class RedEyePanel;
class ShadowPanel;
class TaskBasketReplay;
class TextPanel;
class TonePanel;
class WatermarkPanel;

// The edit view of the main window: the task chooser in the explorer bar with the
// option panels and their Preview and Confirm, the task basket in its two lists (the
// explorer view's lvEdit and the edit view's lvEditPreview) with the hidden rows the
// task engine runs, and the state of the task being edited. It has no widget of its
// own: its controls sit in the preview pane and in the browse pane.
class EditView : public QObject {
    Q_OBJECT

public:
    explicit EditView(QObject* parent = nullptr);
    ~EditView() override;

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
};

} // namespace picbasket
