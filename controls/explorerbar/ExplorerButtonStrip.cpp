#include "controls/explorerbar/ExplorerButtonStrip.h"

#include <QPainter>
#include <QPainterPath>

namespace picbasket {

namespace {

struct CellLook {
    QColor face, rim, glyph;
};

// Two chevrons in the middle of a cell, pointing up (expanded: a click collapses)
// or down.
void drawChevronPair(QPainter& p, const QRectF& cell, bool up, const QColor& colour) {
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double cx = cell.center().x();
    const double top = cell.top() + 4.5;
    for (int k = 0; k < 2; ++k) {
        const double y = top + k * 4.0;
        QPainterPath path;
        if (up) {
            path.moveTo(cx - 3, y + 3);
            path.lineTo(cx, y);
            path.lineTo(cx + 3, y + 3);
        } else {
            path.moveTo(cx - 3, y);
            path.lineTo(cx, y + 3);
            path.lineTo(cx + 3, y);
        }
        p.drawPath(path);
    }
}

void drawCell(QPainter& p, int x, int y, bool up, const CellLook& look) {
    const QRectF cell(x, y, 17, 17);
    p.setPen(QPen(look.rim, 1));
    p.setBrush(look.face);
    p.drawEllipse(cell.adjusted(1, 1, -1, -1));
    drawChevronPair(p, cell, up, look.glyph);
}

} // namespace

QImage ExplorerButtonStrip() {
    QImage strip(68, 35, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    const CellLook silverSpecial{QColor(246, 246, 250), QColor(150, 150, 170), QColor(90, 90, 110)};
    const CellLook silverNormal{QColor(255, 255, 255), QColor(180, 182, 199), QColor(119, 119, 146)};
    const CellLook oliveSpecial{QColor(250, 250, 236), QColor(160, 170, 120), QColor(96, 110, 60)};
    const CellLook oliveNormal{QColor(255, 255, 246), QColor(190, 200, 150), QColor(118, 135, 70)};
    const CellLook rows[2][2] = {{silverSpecial, silverNormal}, {oliveSpecial, oliveNormal}};
    for (int row = 0; row < 2; ++row) {
        const int y = row * 18;
        drawCell(p, 0, y, false, rows[row][0]);
        drawCell(p, 17, y, true, rows[row][0]);
        drawCell(p, 34, y, false, rows[row][1]);
        drawCell(p, 51, y, true, rows[row][1]);
    }
    return strip;
}

} // namespace picbasket
