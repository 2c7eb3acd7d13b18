#pragma once
#include "acquisition/AcquisitionTarget.h"
#include "browser/BasketPane.h"
#include "browser/FolderPane.h"
#include "browser/PreviewPane.h"
#include "editing/EditView.h"
#include "export/modGenerators.h"

namespace picbasket {

class frmMain;

// The wiring between the main window's panes: every narrow face a pane or a dialog
// asks for (the folder pane's FolderPaneHost, the basket's BasketPaneHost, the edit
// view's EditViewHost, the preview's four faces, the capture and scan dialogs'
// AcquisitionTarget, the generators' GeneratorHost), answered from the window's other
// panes. The window makes one and hands it to each pane it builds; no pane sees
// another pane's class or the window.
class PaneWiring final : public AcquisitionTarget,
                         public GeneratorHost,
                         public FolderPaneHost,
                         public BasketPaneHost,
                         public EditViewHost,
                         public PreviewFileLists,
                         public PreviewMetadata,
                         public PreviewEditing,
                         public PreviewExport {
public:
    explicit PaneWiring(frmMain& window) : w_(window) {}

    // The preview's box, for the basket (frmMain_basketwiring.cpp).
    ImageBox& previewBox() override;

    // FolderPaneHost: the preview and the basket as the folder pane sees them
    // (frmMain_folderwiring.cpp).
    void showFolderRow(ListView* list, int row) override;
    FileListBox& folderFiles() override;
    ImageBox& listingBox() override;
    ProgressBar* listingBar() override;
    bool basketAddRuns() const override;
    void addFolderRowsToBasket(const std::vector<BasketSource>& rows, int maximum,
                               ProgressBar* bar) override;
    void clearBasketSelection() override;

    // BasketPaneHost: what the basket asks of the other panes and the window
    // (frmMain_basketwiring.cpp).
    ImageBox& batchBox() override;
    void showListRow(ListView* list, int row) override;
    void savePreviewAs(int index) override;
    ListView* folderList() override;
    std::vector<BasketSource> folderRowsSelected() const override;
    bool& folderListingAbort() override;
    void relistFolderSoon() override;
    const TaskRowList& batchTaskRows() const override;
    void showScannerDialog() override;
    void showCaptureDialog() override;
    void showSlideShowDialog() override;
    void showScreensaverDemo(int generateMode) override;
    void deleteTemporaryPages() override;
    QMenu* batchMenu() override;

    // EditViewHost: the preview and the splitter tree, for the edit view
    // (frmMain_editwiring.cpp).
    ImageBoxView* previewView() override;
    SelectionController* previewSelection() override;
    void clearPreviewSelection() override;
    bool previewOptimized() const override;
    bool previewUnchanged() const override;
    void setPreviewUnchanged(bool unchanged) override;
    QPushButton* previewEditButton() override;
    QMenu* previewMenu() override;
    void enablePreviewType(bool enable) override;
    bool editLayoutShown() const override;
    void enterEditLayout() override;
    void leaveEditLayout() override;
    void subRestoreFolderTree() override;

    // The preview's faces: the lists, the metadata pane, the edit view and the export
    // dialogs (frmMain_previewwiring.cpp).
    ListView* folderList() const override;
    ListView* basketList() const override;
    QString listedFolder() const override;
    void relistFolder() override;
    ListView* exifList() const override;
    ListView* iptcList() const override;
    TabStrip* metadataTabs() const override;
    void readExifInfo(ImageBox& box, const QString& filePath) override;
    void readIptcInfo(ImageBox& box, const QString& filePath) override;
    void showMetadataPane(bool exif, bool iptc) override;
    bool editViewShown() const override;
    void editImageChanged() override;
    void runTaskBasket(bool noStop) override;
    void editPreviewedImage() override;
    void markTaskOptionsChanged() override;
    QImage originalImage() const override;
    void setOriginalImage(const QImage& image) override;
    QString savePreviewDialog(ImageBox& box) override;
    void showGreetingDemo() override;

    // AcquisitionTarget: what a capture or a scan reaches of the window and its panes
    // (frmMain_acquisitionwiring.cpp).
    QWidget& acquisitionWindow() override;
    PaneWindow& acquisitionPaneWindow() override;
    ImageBoxView& acquisitionPreview() override;
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
    const TaskRowList& generatorTaskRows() override;
    const ListView& generatorBasket() override;
    QString generatorPreviewedFile() override;

private:
    frmMain& w_;
};

} // namespace picbasket
