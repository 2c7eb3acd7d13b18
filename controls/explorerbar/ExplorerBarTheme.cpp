#include "controls/explorerbar/ExplorerBarTheme.h"

#include "controls/explorerbar/ExplorerBarColors.h"
#include "core/OleColor.h"
#include "platform/theme/DrawTextFlags.h"
#include "platform/theme/ThemeData.h"
#include "platform/theme/VisualStyle.h"

#include <QPainter>
#include <QWidget>

namespace picbasket {

namespace {

QPalette paletteOf(const QWidget* widget) {
    return widget != nullptr ? widget->palette() : QPalette();
}

// The caption colour when the bar draws the text itself over a themed part.
QColor ownCaptionColour(const typThemePart& part) {
    const QPalette palette = paletteOf(part.hWnd);
    if (part.PartId == 12)
        return oleToQColor(syscolor::HighlightText, palette);
    const QColor highlight = oleToQColor(syscolor::Highlight, palette);
    if (part.StateId == 1)
        return highlight;
    return oleToQColor(OleColor(SoftColor(int32_t(qColorToOle(highlight)))), palette);
}

QString partText(const typThemePart& part) {
    return QStringLiteral("for class '") + part.ClassName + QStringLiteral("', partId=") +
           QString::number(part.PartId) + QStringLiteral(", stateId=") +
           QString::number(part.StateId);
}

void drawCaption(QPainter& painter, const ThemeData& theme, const typThemePart& part,
                 const QRect& bounds, bool useUxThemeText) {
    const QRect content = theme.contentRect(part.PartId, part.StateId, bounds);
    const QRect caption(QPoint(content.left() + part.TextIndent, bounds.top()),
                        QPoint(bounds.right() - part.TextRightMargin, bounds.bottom()));
    if (useUxThemeText) {
        theme.drawText(painter, part.PartId, part.StateId, part.Text, part.TextFlags, caption);
        return;
    }
    painter.save();
    painter.setPen(ownCaptionColour(part));
    drawFlaggedText(painter, caption, part.Text, part.TextFlags);
    painter.restore();
}

} // namespace

void GetThemeInfo(const QWidget* widget, QString& themeFile, QString& colorScheme) {
    if (!ThemeData::open(widget, QStringLiteral("ExplorerBar"))) {
        colorScheme = QStringLiteral("Classic");
        return;
    }
    const VisualStyleInfo style = currentVisualStyle();
    themeFile = style.fileName;
    colorScheme = style.colorName;
}

void PaintThemePart(QPainter& painter, typThemePart& part, const QString& colorScheme,
                    bool useUxThemeText, const std::function<void(const QString&)>& ignore) {
    part.Drawn = false;
    if (colorScheme == QLatin1String("Classic"))
        return;
    const auto theme = ThemeData::open(part.hWnd, part.ClassName);
    if (!theme) {
        ignore(QStringLiteral("No theme data for class '") + part.ClassName +
               QStringLiteral("'.  - ") + QString::number(ThemeData::lastError()));
        return;
    }
    part.Drawn = true;
    const QRect bounds(part.Left, part.Top, part.Width, part.Height);
    // The parent shows through only under a part that covers the whole widget (the
    // bar's background, a hosted body); under a header button it would wipe the header.
    const bool wholeWidget = part.hWnd != nullptr && bounds == part.hWnd->rect();
    if (wholeWidget && !drawThemeParentBackground(part.hWnd, painter, bounds))
        ignore(QStringLiteral("Failed to parent draw background ") + partText(part));
    if (!theme->drawBackground(painter, part.PartId, part.StateId, bounds, bounds)) {
        part.Drawn = false;
        ignore(QStringLiteral("Failed to draw background ") + partText(part));
    }
    if (!part.Text.isEmpty())
        drawCaption(painter, *theme, part, bounds, useUxThemeText);
}

} // namespace picbasket
