#pragma once
#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace picbasket {

class frmMain;
class ListView;
class TabStrip;

// The options dialog: tool tips, the folder list's size display, full-row selection
// and thumbnail size, and the generic names and folders of scanning and capture, with
// a fixed list of keyboard shortcuts. OK copies the controls into the setup record
// and has the main window apply them; Cancel leaves the record as it was. The setup
// file itself is written at exit.
class frmSettings : public QDialog {
    Q_OBJECT

public:
    // The main window whose display is updated after OK; may be null.
    explicit frmSettings(frmMain* main, QWidget* parent = nullptr);

    TabStrip* tbsSettings;
    std::array<QWidget*, 4> panels{}; // picGeneral, picCapture, picTwain, picShortcuts
    std::array<QRadioButton*, 2> optFileSize{};
    QCheckBox* chkAllowTip;
    QCheckBox* chkFolderFullRowSelect;
    QLineEdit* txtFolderThumbnailWidth;
    QLineEdit* txtFolderThumbnailHeight;
    QLineEdit* txtCaptureGeneric;
    QLineEdit* txtCaptureFolder;
    QPushButton* cmdCaptureBrowse;
    QLineEdit* txtTwainGeneric;
    QLineEdit* txtTwainFolder;
    QPushButton* cmdTwainBrowse;
    ListView* lvShortcuts;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildGeneral();
    void buildFolderPanel(int index, QLineEdit*& generic, QLineEdit*& folder, QPushButton*& browse,
                          const QString& folderLabel);
    void buildShortcuts();
    void subSetup();
    void tbsSettings_Click();
    void setupThumbnailBox(QLineEdit* box);
    void browseInto(QLineEdit* folder);

    frmMain* main_;
};

} // namespace picbasket
