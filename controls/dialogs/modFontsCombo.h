#pragma once
#include <QStringList>
#include <optional>

class QComboBox;

namespace picbasket {

// Fills the combo box with the installed font families, in the order the font
// database reports them (the combo's own sorting applies), and shows the first
// entry. The list replaces whatever the combo held. Every caller passes True for
// families; the font database lists families either way. Returns False, after the
// message "Failed to get font info", when the fonts could not be listed; an empty
// font list is no failure.
bool fncFillFontList(QComboBox* combo, bool families);

// The same with the face names given: std::nullopt stands for a failed enumeration.
// Empty names are skipped.
bool fncFillFontList(QComboBox* combo, const std::optional<QStringList>& faces);

} // namespace picbasket
