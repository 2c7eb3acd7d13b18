#include "controls/explorerbar/ExplorerTextMeasurer.h"

#include <QFontMetrics>
#include <climits>

namespace picbasket {

FontTextMeasurer::FontTextMeasurer(const QFont& controlFont) : controlFont_(controlFont) {}

QFont FontTextMeasurer::fontFor(const QFont& controlFont, Style style) {
    QFont font = controlFont;
    font.setBold(style == Style::Bold);
    font.setUnderline(style == Style::Item);
    return font;
}

int FontTextMeasurer::TextWidth(const QString& text, Style style) const {
    return QFontMetrics(fontFor(controlFont_, style)).horizontalAdvance(text);
}

int FontTextMeasurer::GetTextHeight(int left, int right, const QString& text, Style style) const {
    const QFontMetrics metrics(fontFor(controlFont_, style));
    const QRect box(left, 0, qMax(1, right - left), INT_MAX / 4);
    return metrics.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text).height();
}

} // namespace picbasket
