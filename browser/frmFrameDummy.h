#pragma once
#include <QObject>
#include <memory>

class QMenu;

namespace picbasket {

// The hidden menu host of the metadata tool bars and the task basket: it is loaded
// at start-up and never shown. Each menu forwards the chosen item's index; the main
// window connects the three signals to its tool-bar handlers. (The frame and mask
// pieces the Windows edition kept on this window are the engine's FrameArtwork.)
class frmFrameDummy : public QObject {
    Q_OBJECT

public:
    explicit frmFrameDummy(QObject* parent = nullptr);
    ~frmFrameDummy() override;

    QMenu* mnuEXIFParent() const { return exif_.get(); }
    QMenu* mnuIPTCParent() const { return iptc_.get(); }
    QMenu* mnuTaskBasketParent() const { return taskBasket_.get(); }

signals:
    void mnuEXIF_Click(int index);
    void mnuIPTC_Click(int index);
    void mnuTaskBasket_Click(int index);

private:
    std::unique_ptr<QMenu> exif_;
    std::unique_ptr<QMenu> iptc_;
    std::unique_ptr<QMenu> taskBasket_;
};

} // namespace picbasket
