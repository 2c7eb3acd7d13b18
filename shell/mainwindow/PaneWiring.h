#pragma once
#include "acquisition/AcquisitionTarget.h"
#include "browser/BasketPane.h"
#include "browser/FolderPane.h"
#include "browser/PaneQueries.h"
#include "browser/PreviewPane.h"
#include "editing/EditView.h"
#include "export/modGenerators.h"

namespace picbasket {

class frmMain;

// The answers the panes and the dialogs need at once from another pane: the panes'
// PaneQueries, the edit view's EditViewHost, the preview's PreviewQueries, the capture and
// scan dialogs' AcquisitionTarget, the generators' GeneratorHost, each answered from
// the pane that owns it. The window makes one and hands it to each pane it builds; no
// pane sees another pane's class or the window. What a pane asks that needs no reply
// is a signal of the pane, connected by the window (frmMain::connectPanes).
class PaneWiring final : public AcquisitionTarget,
                         public GeneratorHost,
                         public PaneQueries,
                         public EditViewHost,
                         public PreviewQueries {
public:
    explicit PaneWiring(frmMain& window) : w_(window) {}

    // PaneQueries: the boxes, lists, flags and states the panes ask of each other
    // (frmMain_panewiring.cpp).
    ImageBox& batchBox() override;
    FileListBox& folderFiles() override;
    std::vector<BasketSource> folderRowsSelected() const override;
    bool& folderListingAbort() override;
    ProgressBar* basketBar() override;
    bool basketAddRuns() const override;
    const TaskRowList& batchTaskRows() const override;
    QMenu* batchMenu() override;

    // EditViewHost: the preview and the splitter tree, for the edit view
    // (frmMain_editwiring.cpp). previewView also answers AcquisitionTarget's.
    ImageBoxView* previewView() override;
    SelectionController* previewSelection() override;
    bool previewOptimized() const override;
    bool previewUnchanged() const override;
    QPushButton* previewEditButton() override;
    QMenu* previewMenu() override;
    bool editLayoutShown() const override;

    // PreviewQueries: the edit view's state, the image as loaded and the save dialog,
    // for the preview (frmMain_previewwiring.cpp).
    bool editViewShown() const override;
    QImage originalImage() const override;
    QString savePreviewDialog(ImageBox& box) override;

    // AcquisitionTarget: what a capture or a scan reaches of the window and its panes
    // (frmMain_acquisitionwiring.cpp).
    QWidget& acquisitionWindow() override;
    PaneWindow& acquisitionPaneWindow() override;
    void setAcquiredPicture(const QImage& picture) override;
    void setAcquiredFile(const QString& path) override;
    void clearAcquisitionSelection() override;
    void fitAcquiredPicture() override;
    int acquisitionPreviewFit() const override;
    void acquiredPictureChanged() override;
    int addAcquiredBasketRow(const BasketRow& row, const QImage& thumbnail) override;
    void showAcquiredMetadata(ImageBox& box, const QString& path) override;

    // GeneratorHost: what the generator dialogs read of the window and its panes
    // (frmMain_exportwiring.cpp).
    QWidget& generatorOwner() override;
    const ListView& generatorTaskList() override;
    const ListView& generatorEditTaskList() override;
    const ListView& generatorBasket() override;
    QString generatorPreviewedFile() override;

private:
    frmMain& w_;
};

} // namespace picbasket
