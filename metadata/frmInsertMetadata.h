#pragma once
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace picbasket {

// "Insertable metadata tags": the editable EXIF attributes and the IPTC fields as a
// list of check boxes. A caller shows it modally and afterwards reads the ticked
// items (TickedItems, or lstMetadata itself); OK keeps the ticks, Cancel and closing
// the window clear them, so the caller reads an empty choice.
class frmInsertMetadata : public QDialog {
    Q_OBJECT

public:
    explicit frmInsertMetadata(QWidget* owner = nullptr);

    // The one window of the program, created on first use over that owner.
    static frmInsertMetadata& instance(QWidget* owner = nullptr);

    // The texts of the ticked items ("EXIF - Make", "IPTC - City", ...), in list order.
    QStringList TickedItems() const;

    void chkSelectAll_Click(bool ticked);
    void cmdOK_Click();
    void cmdCancel_Click();

    QCheckBox* chkSelectAll = nullptr;
    QListWidget* lstMetadata = nullptr;
    QWidget* picOK = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

private:
    void Form_Load();
    void setAllTicks(bool ticked);
};

} // namespace picbasket
