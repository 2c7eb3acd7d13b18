#include "platform/theme/ThemeData.h"

#include "platform/theme/DrawTextFlags.h"
#include "platform/theme/VisualStyle.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace picbasket {

namespace {

// The system's "element not found", reported when a class cannot be opened.
constexpr int ErrorNotFound = 1168;
int g_lastError = 0;

QStyle* styleOf(const QWidget* widget) {
    return widget != nullptr ? widget->style() : QApplication::style();
}

QPalette paletteOf(const QWidget* widget) {
    return widget != nullptr ? widget->palette() : QApplication::palette();
}

QColor mix(const QColor& a, const QColor& b, double share) {
    return QColor::fromRgbF(float(a.redF() * (1 - share) + b.redF() * share),
                            float(a.greenF() * (1 - share) + b.greenF() * share),
                            float(a.blueF() * (1 - share) + b.blueF() * share));
}

// Style flags for a theme state number.
QStyle::State stateFlags(int stateId) {
    QStyle::State state = QStyle::State_None;
    if (stateId != themestate::Disabled)
        state |= QStyle::State_Enabled;
    if (stateId == themestate::Hot || stateId == themestate::Pressed)
        state |= QStyle::State_MouseOver;
    if (stateId == themestate::Pressed)
        state |= QStyle::State_Sunken;
    else
        state |= QStyle::State_Raised;
    return state;
}

void initOption(QStyleOption& option, const QWidget* widget, int stateId, const QRect& r) {
    if (widget != nullptr)
        option.initFrom(widget);
    else
        option.palette = QApplication::palette();
    option.rect = r;
    option.state = stateFlags(stateId);
}

// A body: filled with `fill` and outlined one pixel inside its edge in `line`.
void drawBody(QPainter& painter, const QRect& r, const QColor& fill, const QColor& line) {
    painter.fillRect(r, fill);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
}

std::optional<int> kindOf(const QString& className) {
    const QString name = className.toUpper();
    if (name == QLatin1String("EXPLORERBAR"))
        return 0;
    if (name == QLatin1String("BUTTON"))
        return 1;
    if (name == QLatin1String("COMBOBOX"))
        return 2;
    return std::nullopt;
}

bool listedMissing(const VisualStyleInfo& style, const QString& className) {
    for (const QString& missing : style.missingClasses) {
        if (missing.compare(className, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

std::optional<ThemeData> ThemeData::open(const QWidget* widget, const QString& className) {
    const VisualStyleInfo style = currentVisualStyle();
    const std::optional<int> kind = kindOf(className);
    if (!style.active || !kind || listedMissing(style, className)) {
        g_lastError = ErrorNotFound;
        return std::nullopt;
    }
    g_lastError = 0;
    static constexpr Kind kinds[] = {Kind::ExplorerBar, Kind::Button, Kind::ComboBox};
    return ThemeData(widget, kinds[*kind], className);
}

int ThemeData::lastError() { return g_lastError; }

bool ThemeData::drawBackground(QPainter& painter, int partId, int stateId, const QRect& bounds,
                               const QRect& clip) const {
    painter.save();
    painter.setClipRect(clip.isEmpty() ? bounds : clip, Qt::IntersectClip);
    bool drawn = false;
    switch (kind_) {
    case Kind::ExplorerBar: drawn = drawExplorerBarPart(painter, partId, stateId, bounds); break;
    case Kind::Button: drawn = drawButtonPart(painter, partId, stateId, bounds); break;
    case Kind::ComboBox: drawn = drawComboBoxPart(painter, partId, stateId, bounds); break;
    }
    painter.restore();
    return drawn;
}

bool ThemeData::drawExplorerBarPart(QPainter& painter, int partId, int stateId,
                                    const QRect& r) const {
    const QPalette pal = paletteOf(widget_);
    switch (partId) {
    case ebp::HeaderBackground:
        painter.fillRect(r, mix(pal.color(QPalette::Window), pal.color(QPalette::Highlight), 0.15));
        return true;
    case ebp::NormalGroupBackground:
        drawBody(painter, r, pal.color(QPalette::Base), pal.color(QPalette::Midlight));
        return true;
    case ebp::SpecialGroupBackground:
        drawBody(painter, r, pal.color(QPalette::Base), pal.color(QPalette::Highlight));
        return true;
    case ebp::NormalGroupHead: {
        QStyleOptionHeader option;
        initOption(option, widget_, stateId, r);
        option.position = QStyleOptionHeader::OnlyOneSection;
        styleOf(widget_)->drawControl(QStyle::CE_HeaderSection, &option, &painter, widget_);
        return true;
    }
    case ebp::SpecialGroupHead: {
        QLinearGradient gradient(r.topLeft(), r.topRight());
        gradient.setColorAt(0, pal.color(QPalette::Highlight));
        gradient.setColorAt(1, pal.color(QPalette::Highlight).lighter(140));
        painter.fillRect(r, gradient);
        return true;
    }
    case ebp::NormalGroupCollapse:
    case ebp::NormalGroupExpand:
        drawGroupButton(painter, stateId, r, partId == ebp::NormalGroupCollapse, false);
        return true;
    case ebp::SpecialGroupCollapse:
    case ebp::SpecialGroupExpand:
        drawGroupButton(painter, stateId, r, partId == ebp::SpecialGroupCollapse, true);
        return true;
    default: return false;
    }
}

// The round button of a group header: a tool-button panel (flat until hot) with an
// arrow pointing up while the group is open (a click collapses it), else down.
void ThemeData::drawGroupButton(QPainter& painter, int stateId, const QRect& r, bool pointsUp,
                                bool onHighlight) const {
    QStyleOption option;
    initOption(option, widget_, stateId, r.adjusted(4, 4, -4, -4));
    option.state |= QStyle::State_AutoRaise;
    if (onHighlight)
        option.palette.setColor(QPalette::ButtonText,
                                option.palette.color(QPalette::HighlightedText));
    QStyle* style = styleOf(widget_);
    style->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &painter, widget_);
    option.rect = r.adjusted(7, 7, -7, -7);
    style->drawPrimitive(pointsUp ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                         &option, &painter, widget_);
}

bool ThemeData::drawButtonPart(QPainter& painter, int partId, int stateId, const QRect& r) const {
    if (partId != bp::PushButton)
        return false;
    QStyleOptionButton option;
    initOption(option, widget_, stateId, r);
    if (stateId == themestate::Defaulted)
        option.features |= QStyleOptionButton::DefaultButton;
    styleOf(widget_)->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, widget_);
    return true;
}

bool ThemeData::drawComboBoxPart(QPainter& painter, int partId, int stateId,
                                 const QRect& r) const {
    if (partId != cp::DropDownButton)
        return false;
    QStyleOptionButton option;
    initOption(option, widget_, stateId, r);
    QStyle* style = styleOf(widget_);
    style->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, widget_);
    const int inset = qMax(2, qMin(r.width(), r.height()) / 4);
    option.rect = r.adjusted(inset, inset, -inset, -inset);
    style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, widget_);
    return true;
}

QRect ThemeData::contentRect(int partId, int stateId, const QRect& bounds) const {
    if (kind_ == Kind::Button && partId == bp::PushButton) {
        QStyleOptionButton option;
        initOption(option, widget_, stateId, bounds);
        return styleOf(widget_)->subElementRect(QStyle::SE_PushButtonContents, &option, widget_);
    }
    if (kind_ == Kind::ExplorerBar && partId == ebp::NormalGroupHead)
        return bounds.adjusted(12, 0, 0, 0);
    if (kind_ == Kind::ExplorerBar && partId == ebp::SpecialGroupHead)
        return bounds;
    return bounds.adjusted(2, 2, -2, -2);
}

QColor ThemeData::textColor(int partId, int stateId) const {
    const QPalette pal = paletteOf(widget_);
    if (stateId == themestate::Disabled)
        return pal.color(QPalette::Disabled, QPalette::ButtonText);
    if (kind_ == Kind::ExplorerBar) {
        if (partId == ebp::SpecialGroupHead)
            return pal.color(QPalette::HighlightedText);
        if (partId == ebp::NormalGroupHead && stateId != themestate::Normal)
            return pal.color(QPalette::Highlight);
        return pal.color(partId == ebp::NormalGroupHead ? QPalette::ButtonText : QPalette::Text);
    }
    return pal.color(QPalette::ButtonText);
}

bool ThemeData::drawText(QPainter& painter, int partId, int stateId, const QString& text,
                         uint32_t flags, const QRect& rect) const {
    painter.save();
    painter.setPen(textColor(partId, stateId));
    drawFlaggedText(painter, rect, text, flags);
    painter.restore();
    return true;
}

bool drawThemeParentBackground(const QWidget* widget, QPainter& painter, const QRect& bounds) {
    if (widget == nullptr)
        return false;
    const QWidget* parent = widget->parentWidget();
    const QWidget* source = parent != nullptr ? parent : widget;
    painter.fillRect(bounds, source->palette().color(source->backgroundRole()));
    return true;
}

} // namespace picbasket
