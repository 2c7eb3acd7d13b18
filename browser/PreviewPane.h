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

class ImageBoxView;
class ListView;
class SelectionController;

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
    PreviewPane(QWidget* parent, const std::function<void(QWidget* toolbar)>& addEditCommands);
    ~PreviewPane() override;

    // PreviewedFile: the box and the file shown.
    ImageBox& previewBox() override;
    QString previewPath() const override;

    // The preview menus: index 0 "Best Fit", 1 "Actual Size"; 0 "Original",
    // 1 "Optimized".
    int checkedPreviewFit() const;
    int checkedPreviewType() const;

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

    // Hidden helpers: the folder's file list, the batch's working box, the shown
    // picture and the file it came from.
    FileListBox fileMain;
    ImageBox ibTemp;
    QImage PicTiff;
    QString PicTiffTag;

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
};

} // namespace picbasket
