#pragma once
#include "core/OleColor.h"
#include "export/SaveDialogController.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;

namespace picbasket {

class NumberGroup;

// The options panel the save dialog carries below its own controls: one frame per
// format, all on one spot, of which the dialog shows the chosen type's. Every
// control writes its member of Setup.SaveOptions the moment it changes, so the
// options are in force when the dialog closes and persist between runs. A new
// panel is made for each dialog; making it fills it from Setup.SaveOptions.
class frmSaveDialogExtensionAllFormats : public QWidget, public SaveOptionsFrames {
    Q_OBJECT

public:
    explicit frmSaveDialogExtensionAllFormats(QWidget* parent = nullptr);
    ~frmSaveDialogExtensionAllFormats() override;

    // Hides all seven frames.
    void subSetVisibility() override;
    // Places the frames and fills the controls from Setup.SaveOptions.
    void subSetup();
    void showFrames(unsigned frames) override;

    QWidget* picFrameGIF;
    QWidget* picFramePNG;
    QWidget* picFrameJPG;
    QWidget* picFrameJPG2000;
    QWidget* picFramePNM;
    QWidget* picFrameTiff;
    QWidget* picFrameTiffOnly;
    QWidget* picAppendMode;
    QWidget* picFrameJPG2000Lossy;

    std::array<QRadioButton*, 2> optGIFCompression{};
    QCheckBox* chkGIFTransparent;
    QPushButton* cmdGIFTransparentColor;

    std::array<QRadioButton*, 2> optPNGColorDepth{};
    QCheckBox* chkPNGTransparent;
    QPushButton* cmdPNGtransprentColor;

    std::array<QRadioButton*, 2> optJPGColorDepth{};
    std::array<QRadioButton*, 2> optJPGEncoding{};
    QSlider* sldJPGQuality;
    QLineEdit* txtJPGQuality;
    QScrollBar* txtJPGQualityD;

    // Index 1 "Lossy", 0 "Loseless".
    std::array<QRadioButton*, 2> optJPG2000Compression{};
    QSlider* sldJPEG2000Compression;
    QLineEdit* txtJPG2000Compression;
    QScrollBar* txtJPG2000CompressionD;

    std::array<QRadioButton*, 2> optPNMFormat{};

    QComboBox* cboTIFFCompression;
    QComboBox* cboAppendMode;
    QComboBox* cboOutputMode;

    NumberGroup* jpgQuality() const { return jpgQuality_; }
    NumberGroup* jpeg2000Rate() const { return jpeg2000Rate_; }

    // The colour a colour button shows.
    static OleColor buttonColor(const QPushButton* button);

    void chkGIFTransparent_Click();
    void chkPNGTransparent_Click();
    void optJPG2000Compression_Click(int index);
    void cmdGIFTransparentColor_Click();
    void cmdPNGtransprentColor_Click();

private:
    void buildGifFrame();
    void buildPngFrame();
    void buildJpgFrame();
    void buildJpeg2000Frame();
    void buildPnmFrame();
    void buildTiffFrame();
    QWidget* newFrame(const char* name);
    void connectControls();
    void connectOptions();
    // Paints the button with the colour and keeps it with the button.
    static void paintButton(QPushButton* button, OleColor color);
    // The colour dialog over this panel: true with the colour painted on the button
    // when one was chosen.
    bool chooseButtonColor(QPushButton* button);

    NumberGroup* jpgQuality_ = nullptr;
    NumberGroup* jpeg2000Rate_ = nullptr;
};

} // namespace picbasket
