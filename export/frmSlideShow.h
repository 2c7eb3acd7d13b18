#pragma once
#include "export/modScreensaver.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;

namespace picbasket {

class ColorButton;
class NumberGroup;

// "Generate Slide show": the page colour, the interval (1 to 9 seconds), the JPEG
// quality of the images and whether the task basket is applied, kept in
// Setup.SlideShow; Generate hands them to MkSlideShow, which asks for the name.
class frmSlideShow : public QDialog {
    Q_OBJECT

public:
    explicit frmSlideShow(const GeneratorSources& sources, QWidget* parent = nullptr);

    void Form_Load();
    void cmdPageBackgroundColor_Click();
    void cmdCreate_Click();
    void cmdCancel_Click();

    ColorButton* cmdPageBackgroundColor = nullptr;
    QLineEdit* txtInterval = nullptr;
    QScrollBar* vsInterval = nullptr;
    QSlider* sldQuality = nullptr;
    QLabel* lblQuality = nullptr;
    QCheckBox* chkProcessEditingList = nullptr;
    QPushButton* cmdCreate = nullptr;
    QPushButton* cmdCancel = nullptr;
    NumberGroup* interval = nullptr;

private:
    void buildControls();
    GeneratorSources sources_;
    // The interval has no slider of its own; the group keeps this hidden one.
    QSlider* intervalSlider_ = nullptr;
};

} // namespace picbasket
