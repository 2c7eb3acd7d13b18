#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace picbasket {

class ucDateTimePicker;

// The form the new and the edit attribute dialogs share: the attribute on the
// first row (a field the dialog makes: a read-only name or a choice of names), its
// value on the second (a text box and a date picker in one place, one of them
// shown), OK and Cancel under them. Cancel leaves EditDialogResult False.
class ExifAttributeDialog : public QDialog {
    Q_OBJECT

public:
    void cmdCancel_Click();

    QLabel* lblAttribute = nullptr;
    QLabel* lblValue = nullptr;
    QLineEdit* txtValue = nullptr;
    ucDateTimePicker* ucDateTime = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    // makeAttributeField makes the first row's field as a child of the dialog;
    // attributeField_ holds it.
    ExifAttributeDialog(const QString& name, const QString& title,
                        QWidget* (*makeAttributeField)(QDialog*), QWidget* owner);

    QWidget* attributeField_ = nullptr;
};

} // namespace picbasket
