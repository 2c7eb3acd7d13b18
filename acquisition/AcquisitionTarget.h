#pragma once
#include <QImage>
#include <QString>

class QWidget;

namespace picbasket {

class ImageBox;
class ImageBoxView;
class PaneWindow;
struct BasketRow;

// What a screen capture or a scan needs of the main window: the window itself (the
// dialogs' owner, hidden while the screen is read), its status bar and layout, the
// preview that takes the new picture, the edit view that follows the preview, the
// basket that gets the picture's row and the metadata lists that describe its file.
class AcquisitionTarget {
public:
    // The top-level window.
    virtual QWidget& acquisitionWindow() = 0;
    // The status bar and the layout of the whole window.
    virtual PaneWindow& acquisitionPaneWindow() = 0;
    // The preview's view (ibMain). The edit view asks the same (EditViewHost), and one
    // answer serves both.
    virtual ImageBoxView* previewView() = 0;
    // The preview's in-memory copy of its picture (PicTiff) and its file (PicTiffTag).
    virtual void setAcquiredPicture(const QImage& picture) = 0;
    virtual void setAcquiredFile(const QString& path) = 0;
    // Erases the marks on the preview and forgets the rectangle (subClearSelection).
    virtual void clearAcquisitionSelection() = 0;
    // Applies the preview's checked fit to the shown image again (subFixedSizeTiff).
    virtual void fitAcquiredPicture() = 0;
    // The preview's checked fit: 0 "Best Fit", 1 "Actual Size" (checkedPreviewFit).
    virtual int acquisitionPreviewFit() const = 0;
    // Another image came into the preview: in the edit view editing starts again on it
    // (subEditViewImageChanged).
    virtual void acquiredPictureChanged() = 0;
    // Adds a basket row with its thumbnail (subAddBasketRow); returns the row's number.
    virtual int addAcquiredBasketRow(const BasketRow& row, const QImage& thumbnail) = 0;
    // The metadata lists describe the new file: the EXIF list is emptied and the IPTC
    // list filled from the box.
    virtual void showAcquiredMetadata(ImageBox& box, const QString& path) = 0;

protected:
    ~AcquisitionTarget() = default;
};

} // namespace picbasket
