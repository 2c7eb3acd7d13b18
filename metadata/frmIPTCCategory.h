#pragma once
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace picbasket {

class ImageBox;

// The IPTC supplemental categories as a list, with the urgency ("1" to "8", or
// "None" for 0): subSetup copies them from the image box, and on OK (the dialog
// accepted) the caller writes both back with MetadataPane::subUpdateIPTC_Category.
// Cancel changes nothing.
class frmIPTCCategory : public QDialog {
    Q_OBJECT

public:
    explicit frmIPTCCategory(QWidget* owner = nullptr);

    void subSetup(const ImageBox& box);
    void cmdAddSupCat_Click();
    void cmdDelSupCat_Click();

    QLabel* lblUrgency = nullptr;
    QComboBox* cboUrgency = nullptr;
    QLabel* lblSupCat = nullptr;
    QListWidget* lstSupCats = nullptr;
    QLineEdit* txtSupCatAdd = nullptr;
    QPushButton* cmdAddSupCat = nullptr;
    QPushButton* cmdDelSupCat = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// The add and delete buttons of both list dialogs: a text that is not empty is
// appended as it stands (blanks kept, duplicates allowed) and the box emptied; the
// selected entry is removed.
void subAddListEntry(QListWidget* list, QLineEdit* box);
void subDeleteListEntry(QListWidget* list);

} // namespace picbasket
