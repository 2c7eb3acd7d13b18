#pragma once
#include <QString>
#include <cstdint>

class QLineEdit;

// The standard behaviour of the numeric text boxes of every dialog.
namespace picbasket {

// Key-press filter: digits and backspace pass, ExtraKey passes too (-1: none);
// every other key becomes 0 (dropped).
void subNumericKeyPress(int16_t& keyAscii, int16_t extraKey);
// Makes a text box numeric: only digits can be typed or pasted into it.
void subMakeNumericTextBox(QLineEdit* box);
// On focus: selects the whole text.
void subSelectAllText(QLineEdit* box);
// On change: an empty text becomes the default, selected so typing replaces it.
void subTextDefaultIfEmpty(QLineEdit* box, const QString& defaultText);
// On losing focus: the number in the box is clamped to [min, max]; a text that is
// no number is left alone.
void subClampTextValue(QLineEdit* box, int16_t min, int16_t max);
// The clamp applied to a text; exposed for the boxes that are no QLineEdit.
QString fncClampText(const QString& text, int16_t min, int16_t max);

} // namespace picbasket
