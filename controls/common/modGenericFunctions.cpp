#include "controls/common/modGenericFunctions.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace picbasket {

void subNumericKeyPress(int16_t& keyAscii, int16_t extraKey) {
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (digit || keyAscii == 8 || keyAscii == extraKey)
        return;
    keyAscii = 0;
}

void subMakeNumericTextBox(QLineEdit* box) {
    if (!box)
        return;
    // A validator filters typed keys and pasted text alike.
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    box->setValidator(new QRegularExpressionValidator(digits, box));
}

void subSelectAllText(QLineEdit* box) {
    if (box)
        box->selectAll();
}

void subTextDefaultIfEmpty(QLineEdit* box, const QString& defaultText) {
    if (!box || !box->text().isEmpty())
        return;
    box->setText(defaultText);
    box->setSelection(0, int(defaultText.size()));
}

QString fncClampText(const QString& text, int16_t min, int16_t max) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return text;
    if (value > max)
        return QString::number(max);
    if (value < min)
        return QString::number(min);
    return text;
}

void subClampTextValue(QLineEdit* box, int16_t min, int16_t max) {
    if (!box)
        return;
    const QString clamped = fncClampText(box->text(), min, max);
    if (clamped != box->text())
        box->setText(clamped);
}

} // namespace picbasket
