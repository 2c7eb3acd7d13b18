#pragma once
#include "metadata/ExifAttributeDialog.h"

#include <QString>

class QLineEdit;

namespace picbasket {

// Edits the value of one metadata attribute: EditAttributeName and
// EditAttributeValue in, EditAttributeValue and EditDialogResult out. A date
// attribute (EXIF or IPTC) is edited with the date picker, and its time of day is
// kept; any other with the text box. OK with the value unchanged gives
// EditDialogResult False, so nothing is written.
class frmExifEditAttribute : public ExifAttributeDialog {
    Q_OBJECT

public:
    explicit frmExifEditAttribute(QWidget* owner = nullptr);

    void cmdOK_Click();
    // True while the date picker stands in for the text box.
    bool editsDate() const { return editsDate_; }

    QLineEdit* txtAttribute = nullptr;

private:
    void Form_Load();

    bool editsDate_ = false;
    QString oldValue_;
    // The time of day of the old value, "h:mm:ss AM/PM"; empty when it had none.
    QString keptTime_;
};

} // namespace picbasket
