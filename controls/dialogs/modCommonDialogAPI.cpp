#include "controls/dialogs/modCommonDialogAPI.h"

namespace picbasket {

namespace {

inline constexpr OleColor InitialCustomColor = rgbOle(254, 254, 254);

} // namespace

ColorResult fncShowColor(QWidget* owner, bool centreOverOwner) {
    if (!ColorDialog.customColorsSet) {
        ColorDialog.customColors.fill(InitialCustomColor);
        ColorDialog.customColorsSet = true;
    }
    ColorDialogRequest request;
    request.owner = owner;
    request.centreOverOwner = centreOverOwner;
    request.initial = ColorDialog.resultColor;
    request.customColors = ColorDialog.customColors;

    const ColorDialogAnswer answer = dialogBackend().showColorDialog(request);
    ColorDialog.customColors = answer.customColors;
    if (!answer.accepted) {
        return {0, true};
    }
    ColorDialog.resultColor = answer.color;
    return {answer.color, false};
}

} // namespace picbasket
