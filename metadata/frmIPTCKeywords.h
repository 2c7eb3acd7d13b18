#pragma once
#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace picbasket {

class ImageBox;

// The IPTC keywords as a list: subSetup copies them from the image box, the user
// adds and deletes entries, and on OK (the dialog accepted) the caller writes the
// list back with MetadataPane::subUpdateIPTC_Keywords. Cancel changes nothing.
class frmIPTCKeywords : public QDialog {
    Q_OBJECT

public:
    explicit frmIPTCKeywords(QWidget* owner = nullptr);

    void subSetup(const ImageBox& box);
    void cmdAddKeyword_Click();
    void cmdDelKeyword_Click();

    QListWidget* lstKeywords = nullptr;
    QLineEdit* txtKeywordAdd = nullptr;
    QPushButton* cmdAddKeyword = nullptr;
    QPushButton* cmdDelKeyword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace picbasket
