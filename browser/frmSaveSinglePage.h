#pragma once
#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;

namespace picbasket {

class NumberGroup;

// The options of the batch JPEG 2000 conversion of the image basket ("Save JPEG2000
// in batch mode"). The dialog keeps nothing of its own: it loads Setup.BatchSave,
// each option button writes its member at once (so Exit keeps it), Save writes the
// rest after checking the count, and Confirmed tells the caller whether to convert.
// Closing the window by any other way than Save is Exit.
class frmSaveSinglePage : public QDialog {
    Q_OBJECT

public:
    explicit frmSaveSinglePage(QWidget* owner = nullptr);

    // Fills the lists and loads the controls from Setup.BatchSave.
    void subSetup();

    void cmdStarConversion_Click();
    void cmdCancel_Click();
    void cmdBrowseFolder_Click();
    void optJPG2000Compression_Click(int index);
    void OptName_Click(int index);
    void optDestinationFolder_Click(int index);

    // The nine characters a file name cannot hold; the naming combos refuse them.
    static const QString ForbiddenNameCharacters;
    // True for the count texts the conversion's counter takes: "[Starting 1]",
    // "[Starting 1001]" or a decimal number within 32 bits.
    static bool fncIsCounterText(const QString& trimmed);

    QComboBox* cboJPEG2000;
    std::array<QRadioButton*, 2> optJPG2000Compression{};
    QWidget* picFrameJPG2000Lossy;
    QSlider* sldJPEG2000Compression;
    QLineEdit* txtJPG2000Compression;
    QScrollBar* txtJPG2000CompressionD;
    std::array<QRadioButton*, 2> optDestinationFolder{};
    QLineEdit* txtDestinationFolder;
    QPushButton* cmdBrowseFolder;
    QCheckBox* chkOverwrite;
    QCheckBox* chkProcessEditingList;
    std::array<QRadioButton*, 3> OptName{};
    QComboBox* cboRenamePrefix;
    QComboBox* cboSeparator1;
    QComboBox* cboSeparator2;
    QComboBox* cboRenameSuffix;
    QLineEdit* txtRenameGeneric;
    QComboBox* cboRenameGeneric;
    QPushButton* cmdStarConversion;
    QPushButton* cmdCancel;

protected:
    // The window's close button, Escape and every other close are Exit.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* buildJpeg2000Frame();
    QGroupBox* buildDestinationFrame();
    QGroupBox* buildNameFrame();
    QComboBox* namingCombo(QWidget* parent);
    void connectOptions();

    NumberGroup* rate_ = nullptr;
};

} // namespace picbasket
