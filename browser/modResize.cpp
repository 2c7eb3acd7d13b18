#include "browser/modResize.h"

#include "controls/dialogs/modCommonDialogAPI.h"
#include "core/ErrorHandler.h"
#include "core/OleColor.h"

#include <QWidget>

namespace picbasket {

void subFitPictureInBox(QWidget* container, QWidget* box) {
    try {
        const QSize room = container->contentsRect().size();
        const QSize inner = box->contentsRect().size();
        const int x = inner.width() <= room.width() ? (room.width() - box->width()) / 2 : 0;
        const int y = inner.height() <= room.height() ? (room.height() - box->height()) / 2 : 0;
        box->move(x, y);
    } catch (...) {
    }
}

bool fncShowColorDialog(QWidget* owner, QWidget* target) {
    bool chosen = false;
    errorTail(QStringLiteral("fncShowColorDialog"), [&] {
        const ColorResult result = fncShowColor(owner, true);
        // A colour with the high bit set is a system colour index, no colour chosen.
        if (result.Cancel || int32_t(result.Color) < 0)
            return;
        QPalette palette = target->palette();
        const QColor colour = oleToQColor(result.Color);
        palette.setColor(QPalette::Window, colour);
        palette.setColor(QPalette::Button, colour);
        target->setPalette(palette);
        target->setAutoFillBackground(true);
        target->update();
        chosen = true;
    });
    return chosen;
}

} // namespace picbasket
