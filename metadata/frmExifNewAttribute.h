#pragma once
#include "metadata/ExifAttributeDialog.h"

#include <QString>

class QComboBox;

namespace picbasket {

class ListView;

// Chooses an editable EXIF attribute that the image lacks (the rows of the EXIF
// list) and its value: EditAttributeName, EditAttributeValue and EditDialogResult
// out. A date attribute takes the picked day with the time of day.
class frmExifNewAttribute : public ExifAttributeDialog {
    Q_OBJECT

public:
    // exifList: the rows the image already has; names with a row are not offered.
    explicit frmExifNewAttribute(const ListView* exifList, QWidget* owner = nullptr);

    // The one entry when every editable attribute is present.
    static QString nothingToAdd() { return QStringLiteral("No editable attribute to add!"); }

    void cmbAttribute_Click();
    void txtValue_Change();
    void ucDateTime_DateChanged();
    void cmdOK_Click();

    QComboBox* cmbAttribute = nullptr;

private:
    void Form_Load(const ListView* exifList);
    bool chosenIsDate() const;

    // The time of day for a picked date, "h:mm:ss AM/PM"; empty until a day is picked.
    QString timePart_;
};

} // namespace picbasket
