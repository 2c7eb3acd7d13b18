#pragma once
#include <QString>

namespace picbasket {

// What the edit view's files share: the margin inside the option panels' host, the
// explorer bar's group of the image being edited, and the angle a rotate spin shows.
inline constexpr int DialogMargin = 6;
inline const QString SpecialGroup = QStringLiteral("Special Group");

// The value a spin bar of -180 to 180 shows for a typed angle of -180 to 360.
inline int normalisedAngle(int degrees) {
    return degrees > 180 ? degrees - 360 : degrees;
}

} // namespace picbasket
