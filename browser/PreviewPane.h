#pragma once
#include "browser/FileListBox.h"
#include "browser/PreviewedFile.h"
#include "platform/imagebox/ImageBox.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;

namespace picbasket {

struct FileListFocus;
class ImageBoxView;
class ListView;
class PaneWindow;
class SelectionController;

// What the preview needs answered at once by the others: whether the edit view is
// shown (a file it takes is then decoded whole before the call returns), the image as
// loaded (which "Original" and "Optimized" start from) and the save dialog, which
// gives the file it wrote ("" when none was).
class PreviewQueries {
public:
    virtual bool editViewShown() const = 0;
    virtual QImage originalImage() const = 0;
    virtual QString savePreviewDialog(ImageBox& box) = 0;

protected:
    ~PreviewQueries() = default;
};

// Everything the preview reaches outside itself besides its signals.
struct PreviewPeers {
    PaneWindow& window;
    FileListFocus& focus;
    PreviewQueries& queries;
};

// The preview pane: the tool bar over the image of the file chosen in the folder list
// or the basket, with its scroll bars, the fit and type menus and the preview's
// pop-up menus. The pane is its own root widget (picView); the window places it in
// its splitter tree and lays out its children. The edit view's widgets live inside it
// too: its Reset and Original buttons in the tool bar, its explorer bar and task list
// beside the image.
class PreviewPane : public QWidget, public PreviewedFile {
    Q_OBJECT

public:
    // addEditCommands puts the edit view's buttons into the tool bar, between the
    // stepping buttons and the Edit button.
    PreviewPane(QWidget* parent, const PreviewPeers& peers,
                const std::function<void(QWidget* toolbar)>& addEditCommands);
    ~PreviewPane() override;

    // PreviewedFile: the box the preview shows its file in.
    ImageBox& previewBox() override;

    // The menus, made with owner as their parent (the window), and the connections
    // of the pane's controls, at the window's points of its construction.
    void buildMenus(QWidget* owner);
    void buildPreview();
    void connectMenus();
    // The box's drawing defaults, set at start-up.
    void subSetImageBoxDefaults();

    // Shows the file behind a row of lvFolder or lvPages (rows from 1).
    void subShowSelectedFile(ListView* list, int row);
    // Loads the file into the box and fills the file panels; a file that cannot be
    // loaded leaves nothing shown.
    void fncReadFile(const QString& path, ImageBox& box);
    // Applies the checked fit to the shown image again.
    void subFixedSizeTiff();
    void vsbView_Change();
    void vsbView_Scroll();
    void hsbView_Change();
    void hsbView_Scroll();
    void cmdPreviewPrevious_Click();
    void cmdPreviewNext_Click();
    void subShowPreviousItem(ListView* list);
    void subShowNextItem(ListView* list);
    // Index 0 "Best Fit", 1 "Actual Size"; the checked item changes nothing.
    void mnuPreviewFit_Click(int index);
    void cmdPreviewView_Click();
    void ibMain_MouseDown(int button, int shift, int x, int y);
    void ibMain_MouseMove(int shift, int x, int y);
    void ibMain_MouseUp(int button, int shift, int x, int y);
    void ibMain_LoadSettled();
    // Erases the marks on the preview and forgets the rectangle.
    void subClearSelection();
    // Pops up the preview menu at the pointer.
    void subShowPreviewMenu();
    void mnuPreview_Click(int index);
    void mnuPreviewType_Click(int index);
    // The "Save Preview As" items (0 image document, 1 greeting image, 2 single-image
    // screensaver), also reached from the basket's context menu.
    void mnuSavePreviewAs_Click(int index);
    void cmdPreviewSave_Click();
    void cmdPreviewType_Click();
    void cmdPreviewPrint_Click();
    void Label4_Click();
    // Saves the preview's image through the save dialog; does nothing while the
    // preview is empty.
    void subSavePreviewToFile();
    // Lays the tool bar across picView, as many rows high as its buttons need; returns
    // its height, where the image holder starts.
    int layOutPreviewToolbar();
    // A new caption for the fit or the type button, its picture kept.
    void setCaption(QPushButton* button, const QString& caption);

    // The preview menus: index 0 "Best Fit", 1 "Actual Size"; 0 "Original",
    // 1 "Optimized".
    int checkedPreviewFit() const;
    int checkedPreviewType() const;

    // What the preview provides: its image box, the picture it shows (the file it
    // shows is the shared FileListFocus::PicTiffTag), its flags, and its controls for
    // the window's layout and the tests.
    ImageBoxView* box() const { return ibMain; }
    const QImage& shownPicture() const { return PicTiff; }
    void setShownPicture(const QImage& picture) { PicTiff = picture; }
    SelectionController* selection() const { return PreviewSelection; }
    // The folder's hidden file list and the batch's working box.
    FileListBox& folderFiles() { return fileMain; }
    ImageBox& batchBox() { return ibTemp; }
    // Set while the preview shows the image as loaded with the task basket run on it.
    bool optimized() const { return PreviewOptimized; }
    void setOptimized(bool optimized) { PreviewOptimized = optimized; }
    bool unchanged() const { return PreviewUnchanged; }
    void setUnchanged(bool unchanged) { PreviewUnchanged = unchanged; }
    QWidget* view() const { return picView; }
    QWidget* toolbar() const { return picToolbarPreview; }
    QWidget* imageHolder() const { return PicViewImage; }
    QScrollBar* vScrollBar() const { return vsbView; }
    QScrollBar* hScrollBar() const { return hsbView; }
    QLabel* caption() const { return Label4; }
    QPushButton* fitButton() const { return cmdPreviewView; }
    QPushButton* previousButton() const { return cmdPreviewPrevious; }
    QPushButton* nextButton() const { return cmdPreviewNext; }
    QPushButton* typeButton() const { return cmdPreviewType; }
    QPushButton* saveButton() const { return cmdPreviewSave; }
    QPushButton* editButton() const { return CmdPreviewEdit; }
    QPushButton* printButton() const { return cmdPreviewPrint; }
    QMenu* previewMenu() const { return mnuPreviewParent; }
    QMenu* saveAsMenu() const { return mnuSavePreviewAsParent; }
    QMenu* fitMenu() const { return mnuPreviewFitParent; }
    QMenu* typeMenu() const { return mnuPreviewTypeParent; }
    QActionGroup* fitGroup() const { return previewFit_; }
    QActionGroup* typeGroup() const { return previewType_; }

signals:
    // What the preview asks of the others; the window connects each once.
    // The metadata lists are to be emptied: another file comes, or none is shown.
    void metadataClearRequested();
    // The metadata pane is to describe the file the box holds; the extension of the
    // file that was read says which lists apply.
    void metadataRequested(ImageBox& box, const QString& file, const QString& extension);
    // The edit view: the image as loaded came in (null while the load still runs),
    // the task basket is to run on the preview (without noStop up to the selected
    // row), the Edit command, a pick on the preview changed the shown task's options,
    // another image came into the preview.
    void originalImageLoaded(const QImage& image);
    void taskBasketRunRequested(bool noStop);
    void editRequested();
    void taskOptionsPicked();
    void previewImageChanged();
    // "Save Preview As" wrote the file; the folder list lists it when it is there.
    void fileSaved(const QString& path);
    // The greeting and the single-image screensaver generators for the shown file.
    void greetingRequested();
    void screensaverRequested(int generateMode);

private:
    // Set while the preview shows the image as loaded with the task basket run on it.
    bool PreviewOptimized = false;
    bool PreviewUnchanged = false;

    // Controls, named as the rest of the program addresses them.
    QWidget* picView;
    QWidget* picToolbarPreview;
    // The "Preview" caption at the start of the tool bar.
    QLabel* Label4;
    QPushButton* cmdPreviewView;
    QPushButton* cmdPreviewPrevious;
    QPushButton* cmdPreviewNext;
    QPushButton* cmdPreviewType;
    QPushButton* cmdPreviewSave;
    QPushButton* CmdPreviewEdit;
    QPushButton* cmdPreviewPrint;
    QWidget* PicViewImage;
    ImageBoxView* ibMain;
    QScrollBar* vsbView;
    QScrollBar* hsbView;
    // The mouse modes, corners, grips and picked points of the preview.
    SelectionController* PreviewSelection = nullptr;

    // Hidden helpers: the folder's file list, the batch's working box and the shown
    // picture.
    FileListBox fileMain;
    ImageBox ibTemp;
    QImage PicTiff;

    // The pop-up menus of the caption, the Save button, the fit and the type buttons.
    QMenu* mnuPreviewParent = nullptr;
    QMenu* mnuSavePreviewAsParent = nullptr;
    QMenu* mnuPreviewFitParent = nullptr;
    QMenu* mnuPreviewTypeParent = nullptr;
    QActionGroup* previewFit_ = nullptr;
    QActionGroup* previewType_ = nullptr;

    // The row being previewed while subShowSelectedFile runs.
    ListView* previewList_ = nullptr;
    int previewRow_ = 0;

    void connectPreviewSelection();
    void subShowPreviewPanels();
    void subClearFilePanels();
    void subShowUnreadableFile(const QString& path, const QString& reason);

    PreviewPeers peers_;
};

// The status text of a file the preview could not show: its name and why.
QString fncUnreadableFileText(const QString& path, const QString& reason);
// The zoom of the preview as the status bar shows it: the whole percent, halves to
// the even number, and "%".
QString fncZoomText(double zoom);
// The percent the preview is shown at: with AutoZoom the fitted scale, else Zoom.
double fncShownZoom(const ImageBox& box);
// Sizes the preview to its shown image and centres it in the holder where it is
// smaller (else puts it at that side's start), and sets the scroll bars' ranges.
// A box larger than the holder takes the place its scroll bar's value gives.
void subFitPreview(QWidget* holder, ImageBoxView* box, QScrollBar* hsb, QScrollBar* vsb);

} // namespace picbasket
