#pragma once
#include <QObject>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace picbasket {

class ColorButton;
class PictureOptions;
class SpinBar;
struct TextOptions;
struct typTextTask;

// The Text panel: the text and its font, colours and background, and where it goes:
// one of nine places (with orientation and alignment) or a picked point (with an
// angle).
class TextPanel : public QObject {
    Q_OBJECT
public:
    // The lists are the main window's, filled at start-up.
    struct Lists {
        QComboBox* cboPosition;
        QComboBox* ComboFilter;
        QComboBox* comboFontSize;
        QComboBox* ComboFontFamily;
    };
    TextPanel(QWidget* panel, const Lists& lists);

    // What the panel provides: its options to and from the stored ones and as the
    // text they describe, the focus-out rules Preview runs again, and the controls
    // the edit view connects and the tests drive. The four lists are the edit
    // view's (textPositionCombo, resizeFilterCombo, fontFamilyCombo, fontSizeCombo).
    // The stored options shown; the panel takes the height they need.
    void load(const typTextTask& stored);
    void store(typTextTask& stored) const;
    // Everything but the picked point and the preview's state, which are the edit
    // view's.
    TextOptions options() const;
    // The font size box's and the angle box's focus-out rules.
    void clampFontSize();
    void clampAngle();
    // The chosen alignment 0, 1 or 2.
    int alignment() const;
    bool vertical() const;
    // The text, its anti-alias and transparent-background boxes, the colour buttons
    // of the text and its background, and the bold, italic and underline toggles.
    QLineEdit* textBox() const { return txtDraw; }
    QCheckBox* antiAliasBox() const { return chkAntiAlias; }
    QCheckBox* transparentBox() const { return chkTransparent; }
    ColorButton* colourButton() const { return cmdTextColor; }
    ColorButton* backgroundButton() const { return cmdTextBackground; }
    QPushButton* boldToggle() const { return chkTextBold; }
    QPushButton* italicToggle() const { return chkTextItalic; }
    QPushButton* underlineToggle() const { return chkTextUnderline; }
    // The orientation and alignment pictures with their parts, shown for the nine
    // places, and the angle part with its box and spin, shown for a picked point.
    QWidget* orientationPart() const { return picTextOrientation; }
    PictureOptions* orientationOptions() const { return OptTextOrientation; }
    QWidget* alignmentPart() const { return picTextAlignment; }
    PictureOptions* alignmentOptions() const { return OptTextAlignment; }
    QWidget* anglePart() const { return picTextOrientationCustom; }
    QLineEdit* angleBox() const { return txtTextAngle; }
    SpinBar* angleSpin() const { return vsbTextAngle; }

Q_SIGNALS:
    void optionsChanged();
    // Anti-alias only sets the changed flag; Preview and Confirm stay as they are.
    void changedFlagOnly();
    // A place was chosen in the position list (after the options were marked changed).
    void positionClicked(int index);
    // A part of the panel was shown or hidden, and the panel took its new height.
    void layoutChanged();

private:
    void showTextFont();
    void positionChosen(int index);

    QWidget* panel;
    QLineEdit* txtDraw;
    QComboBox* cboPosition;
    QComboBox* ComboFilter;
    QCheckBox* chkAntiAlias;
    QCheckBox* chkTransparent;
    QComboBox* ComboFontFamily;
    QComboBox* comboFontSize;
    ColorButton* cmdTextColor;
    QPushButton* chkTextBold;
    QPushButton* chkTextItalic;
    QPushButton* chkTextUnderline;
    ColorButton* cmdTextBackground;
    QWidget* picTextOrientation;
    PictureOptions* OptTextOrientation;
    QWidget* picTextAlignment;
    PictureOptions* OptTextAlignment;
    QWidget* picTextOrientationCustom;
    QLineEdit* txtTextAngle;
    SpinBar* vsbTextAngle;
};

} // namespace picbasket
