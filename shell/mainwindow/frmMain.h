#pragma once
#include "browser/BasketPane.h"
#include "browser/FileListFocus.h"
#include "browser/FolderPane.h"
#include "browser/PreviewPane.h"
#include "controls/common/PaneWindow.h"
#include "editing/EditView.h"
#include "metadata/MetadataPane.h"
#include "shell/mainwindow/SingleInstance.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QPushButton;

namespace picbasket {

class PaneWiring;
class frmDummy;
class frmFrameDummy;
class Splitter;
class StatusBar;
class TabStrip;

// The main window: the folder tree, the preview, the metadata lists, the folder's
// file list and the image basket, joined by a tree of four splitters, with the
// status bar below. It is built whole by the constructor; Form_Load brings the
// program up and closing the window takes it down (subEnd, other windows, temporary
// page files).
class frmMain : public QWidget, public PaneWindow {
    Q_OBJECT
    friend class PaneWiring;

public:
    // Without makeEditView the window makes the real edit view.
    explicit frmMain(QWidget* parent = nullptr, const EditViewFactory& makeEditView = {});
    ~frmMain() override;

    // The panes that are classes of their own.
    FolderPane& folderPane() const { return *folder_; }
    MetadataPane& metadataPane() const { return *metadata_; }
    BasketPane& basketPane() const { return *basket_; }
    PreviewPane& previewPane() const { return *preview_; }
    EditView& editView() const { return *edit_; }
    // The faces the panes and the dialogs reach each other through.
    PaneWiring& wiring() const { return *wiring_; }
    // Which file list the preview follows, shared by the lists and the preview.
    FileListFocus& fileListFocus() { return listFocus_; }

    // Start-up. False when another copy runs: the refusal was shown and the program
    // must end without any shut-down step.
    bool Form_Load();
    // Re-applies the display settings of the setup record (thumbnail sizes,
    // full-row select, tool tips).
    void subUpdateForm();
    // Saves the window's state into the setup record and writes the setup file.
    void subEnd();
    // PaneWindow: what the panes ask of the window.
    StatusBar* statusBar() override { return sbMain; }
    void subResize() override;
    // Shows the metadata pane unless both are False.
    void subShowMetadataPane(bool exif, bool iptc);
    void subSetStatusPanelText(const QString& text) override;

    // Life-cycle flags.
    bool FormLoaded = false;
    bool RestoreFolderOnResize = false;
    // The help file of the program, set at start.
    QString HelpFile;

    // Controls, named as the rest of the program addresses them.
    StatusBar* sbMain;
    Splitter* splMain;
    Splitter* splRight;
    Splitter* splLeft;
    Splitter* splView;

    QWidget* picBrowse;
    QLabel* lblBrowse;
    TabStrip* tbsBrowse;
    // The window's settings and about buttons, made on the folder pane's tool bar.
    QPushButton* cmdBrowseSettings;
    QPushButton* cmdBrowseAbout;

    // The pop-up menus, their hidden hosts and what pops them up
    // (frmMain_menus.cpp). Menu items forward their index.
    QMenu* mnuAboutParent;
    // The hosts are made on first use; start-up loads frmFrameDummy.
    frmFrameDummy* FrameDummy();
    frmDummy* Dummy();
    void subLoadFrameDummy();
    void mnuAbout_Click(int index);
    void cmdBrowseAbout_Click();
    void lblBrowse_Click();
    void lblMetadata_Click();
    void tbsBrowse_Click();
    // Shows a pop-up menu at a screen position; tests put a recorder here.
    std::function<void(QMenu*, const QPoint&)> PopupMenu;
    // Opens an address or a file in the desktop's program for it (the about menu);
    // empty means subOpenInBrowser. Tests put a recorder here.
    using LinkOpenerFn = std::function<bool(const QString&)>;
    LinkOpenerFn LinkOpener;

    // The windows the basket commands, the tool buttons and the menus open, shown by
    // the folder that owns the window: capture and scanning by acquisition/ (through
    // shell/mainwindow/frmMain_acquisitionwiring.cpp), the generated programs by
    // export/ (through shell/mainwindow/frmMain_exportwiring.cpp).
    void subShowCaptureDialog();
    void subShowTwainDialog();
    void subShowSlideShowDialog();
    // generateMode 0 the previewed image, 1 the basket's images.
    void subShowScreensaverDemo(int generateMode);
    void subShowGreetingDemo();

    void subPopupMenu(QMenu* menu, const QPoint& globalPosition) override;
    QImage picture(const QString& pictureBox) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildStatusBar();
    void buildBrowsePane();
    void buildPreviewPane();
    void subFitLeastSizeToFrame();
    void buildMenus();
    // The one block that joins the panes: each pane's requests go to the pane or the
    // window member that serves them.
    void connectPanes();
    // The window's side of the edit view's requests (frmMain_editwiring.cpp): the
    // splitter tree changed to the edit view, keeping the folder tree's place, and
    // back, and the folder tree put back at that place.
    void subEnterEditLayout();
    void subLeaveEditLayout();
    void subRestoreFolderTree();
    void buildPopupMenus();
    void connectMenus();
    void connectFrameDummy();
    void subOpenHelpManual(const LinkOpenerFn& open);
    void subSetup();
    void layOutPreviewArea();
    void subLoadSettings();
    void subLoadSetupChecked();
    void applyWindowSize();
    void subSetHelpFile();
    void subSetStatusPictures();
    void subSetSplitterTree();
    void subSetButtonPictures();
    void subLoadToolTipTexts();
    void subRemoveButtonPictures();
    void subUnloadOtherWindows();
    void subDeleteTemporaryPages();
    void Form_Unload();

    InstanceLock instanceLock_;
    frmFrameDummy* frameDummy_ = nullptr;
    frmDummy* dummy_ = nullptr;
    bool unloaded_ = false;
    // The folder tree's selected folder and scroll position when the edit view came,
    // put back when the explorer view returns.
    struct FolderTreePlace {
        QString folder;
        int vertical = 0;
        int horizontal = 0;
    } folderTreePlace_;
    FolderPane* folder_ = nullptr;
    // The folder tree, built with the browse pane and handed to the folder pane.
    FolderPane::FolderTree folderTree_;
    MetadataPane* metadata_ = nullptr;
    BasketPane* basket_ = nullptr;
    std::unique_ptr<PaneWiring> wiring_;
    std::unique_ptr<EditView> edit_;
    PreviewPane* preview_ = nullptr;
    FileListFocus listFocus_;
};

// The program folder with exactly one trailing "/".
QString fncAppPath();
// The places the help manual's first page may be, in the order they are tried: beside
// the program (a build), the program's share folders (QStandardPaths::AppDataLocation),
// the share folder of the prefix the program is installed in.
QStringList fncHelpManualPlaces();
// The first of those places that holds the manual, else the first place.
QString fncFindHelpManual();
} // namespace picbasket
