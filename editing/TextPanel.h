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

    // The font size box's and the angle box's focus-out rules.
    void clampFontSize();
    void clampAngle();
    // The chosen alignment 0, 1 or 2.
    int alignment() const;
    bool vertical() const;

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

Q_SIGNALS:
    void optionsChanged();
    // Anti-alias only sets the changed flag; Preview and Confirm stay as they are.
    void changedFlagOnly();
    // A place was chosen in the position list (after the options were marked changed).
    void positionClicked(int index);
    // A part of the panel was shown or hidden.
    void layoutChanged();

private:
    void showTextFont();
    void positionChosen(int index);
};

} // namespace picbasket
