#pragma once
#include <QObject>
#include <memory>

class QMenu;

namespace picbasket {

// The hidden menu host of the basket's "Save Batch" menu (window caption "Form1"),
// never shown. The chosen item's index is forwarded; the main window turns it into a
// batch command (fncBatchMenuCommand).
class frmDummy : public QObject {
    Q_OBJECT

public:
    explicit frmDummy(QObject* parent = nullptr);
    ~frmDummy() override;

    QString Caption() const { return QStringLiteral("Form1"); }
    QMenu* mnuBatchParent() const { return batch_.get(); }

signals:
    void mnuBatch_Click(int index);

private:
    std::unique_ptr<QMenu> batch_;
};

// What an item of the "Save Batch" menu runs: the index of the batch dispatcher, or
// one of the four basket commands.
struct BatchMenuCommand {
    enum Kind { None, Generate, NewBasket, OpenBasket, SaveBasket, RemoveSelected };
    Kind kind = None;
    int generateIndex = -1;
};
BatchMenuCommand fncBatchMenuCommand(int item);

} // namespace picbasket
