#include "platform/theme/DrawTextFlags.h"

#include <QFontMetrics>
#include <QPainter>

namespace picbasket {

namespace {

int alignmentOf(uint32_t flags) {
    int align = Qt::AlignLeft;
    if (flags & dt::Center)
        align = Qt::AlignHCenter;
    else if (flags & dt::Right)
        align = Qt::AlignRight;
    // Vertical placement applies only to a single line, as with DrawText.
    if ((flags & dt::SingleLine) && (flags & dt::VCenter))
        align |= Qt::AlignVCenter;
    else if ((flags & dt::SingleLine) && (flags & dt::Bottom))
        align |= Qt::AlignBottom;
    else
        align |= Qt::AlignTop;
    return align;
}

int layoutFlagsOf(uint32_t flags) {
    int layout = alignmentOf(flags);
    if (flags & dt::SingleLine)
        layout |= Qt::TextSingleLine;
    else if (flags & dt::WordBreak)
        layout |= Qt::TextWordWrap;
    if (flags & dt::ExpandTabs)
        layout |= Qt::TextExpandTabs;
    return layout;
}

bool elides(uint32_t flags) {
    return (flags & (dt::EndEllipsis | dt::WordEllipsis | dt::PathEllipsis)) != 0;
}

} // namespace

QString fittedText(const QFontMetrics& metrics, const QString& text, int width, uint32_t flags) {
    if (!elides(flags) || !(flags & dt::SingleLine))
        return text;
    const Qt::TextElideMode mode = (flags & dt::PathEllipsis) ? Qt::ElideMiddle : Qt::ElideRight;
    return metrics.elidedText(text, mode, qMax(0, width));
}

int drawFlaggedText(QPainter& painter, const QRect& rect, const QString& text, uint32_t flags,
                    QString* shown) {
    const QFontMetrics metrics(painter.font());
    const QString fitted = fittedText(metrics, text, rect.width(), flags);
    if (shown != nullptr)
        *shown = fitted;
    const int layout = layoutFlagsOf(flags);
    const int width = (flags & dt::SingleLine) ? INT_MAX / 2 : qMax(1, rect.width());
    const QRect needed = metrics.boundingRect(QRect(rect.left(), rect.top(), width, INT_MAX / 2),
                                              layout, fitted);
    if (flags & dt::CalcRect)
        return needed.height();
    painter.save();
    if (!(flags & dt::NoClip))
        painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, layout, fitted);
    painter.restore();
    return needed.height();
}

} // namespace picbasket
