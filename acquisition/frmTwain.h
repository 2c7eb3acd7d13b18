#pragma once
#include "acquisition/TwainPageWriter.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace picbasket {

class AcquisitionTarget;
class ImageBox;
class ImageBoxView;

// The "Acquire" dialog: scans pages through its own image box and sends each, as
// it arrives, into the image basket (an exact TIFF page file in the temporary page
// folder and a basket row) or to disk as single-page files or one multipage TIFF or
// PDF. The settings are the setup record's Twain block, read at load and written
// by Acquire and Exit. The naming rules live in TwainPageWriter.
class frmTwain : public QDialog {
    Q_OBJECT

public:
    explicit frmTwain(AcquisitionTarget& main, QWidget* parent = nullptr);
    ~frmTwain() override;

    ImageBoxView* ImageBox1;
    // The sunken area that holds ImageBox1, centred in it.
    QFrame* picAcquire;
    QGroupBox* FrameTwain;
    std::array<QRadioButton*, 2> optAcquire{};
    QWidget* picSave;
    std::array<QRadioButton*, 2> optFile{};
    QComboBox* cboSinglepage;
    QComboBox* cboMultipage;
    QLabel* lblFileName;
    QLineEdit* txtFileName;
    QLabel* Label1;
    QLineEdit* txtFolder;
    QPushButton* cmdBrowse;
    QCheckBox* chkOverwrite;
    QPushButton* cmdAcquire;
    // Stops a running acquisition; enabled only while one runs.
    QPushButton* cmdCancel;
    QPushButton* cmdExit;
    QPushButton* cmdfit;
    QMenu* mnuFitParent;
    std::array<QAction*, 2> mnuFit{};
    QLabel* lblSize;

    uint8_t TwainDestination = 0;
    uint8_t TwainFileMode = 0;

    // Where pages on disk go; tests give it their own random draws.
    TwainPageWriter pageWriter;

    void subSetup();
    void subSaveSetup();
    // Shows the page file in the preview and adds its basket row; false when it
    // failed (reported as "FrmTwain.subAddItemToBasket").
    bool subAddItemToBasket(const QString& path);

    void optAcquire_Click(int index);
    void optFile_Click(int index);
    void cmdBrowse_Click();
    void cmdAcquire_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    void cmdfit_Click();
    void mnuFit_Click(int index);
    void ImageBox1_TwainPageAcquired();

    ImageBox& box() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void buildOptions();
    void buildButtons();
    TwainDiskTarget diskTargetFromControls() const;
    void setAcquiring(bool acquiring);
    // True while an Acquire click runs; it then asks a running scan to stop.
    bool busy();
    void writePage(int pageNumber);
    // Centres the shown page in picAcquire (fitted, or at its size from the top left
    // when larger).
    void layoutImage();

    AcquisitionTarget& main_;
    // The index of the checked fit item.
    int checkedFit_ = 0;
    bool layingOut_ = false;
    // Set while an Acquire click runs (the device list, the prompt, the scan).
    bool acquireRunning_ = false;
};

// What Acquire says when the scanning layer lists no scanner: that none was found,
// with the layer's own words when it gave some.
QString fncNoScannerText(const QString& problem);

// The acquisition dialog over the target's window, a new one each time, modal.
void subShowTwainDialog(AcquisitionTarget& target);

} // namespace picbasket
