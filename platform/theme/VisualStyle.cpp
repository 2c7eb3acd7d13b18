#include "platform/theme/VisualStyle.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QWidget>

namespace picbasket {

namespace {

std::optional<VisualStyleInfo>& overrideSlot() {
    static std::optional<VisualStyleInfo> slot;
    return slot;
}

// What a control would see as WM_THEMECHANGED.
void notifyWidgets() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        QEvent event(QEvent::ThemeChange);
        QCoreApplication::sendEvent(widget, &event);
    }
}

VisualStyleInfo themedWith(const QString& fileName, const QString& colorName) {
    VisualStyleInfo info;
    info.active = true;
    info.fileName = fileName;
    info.colorName = colorName;
    return info;
}

} // namespace

VisualStyleInfo standardVisualStyle() {
    QString name = QStringLiteral("qstyle");
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
        name = QApplication::style()->name();
    return themedWith(name, QStringLiteral("NormalColor"));
}

std::optional<VisualStyleInfo> namedVisualStyle(const QString& name) {
    const QString key = name.trimmed().toLower();
    if (key == QLatin1String("standard"))
        return standardVisualStyle();
    if (key == QLatin1String("metallic"))
        return themedWith(QStringLiteral("luna.msstyles"), QStringLiteral("Metallic"));
    if (key == QLatin1String("homestead"))
        return themedWith(QStringLiteral("luna.msstyles"), QStringLiteral("HomeStead"));
    if (key == QLatin1String("classic"))
        return VisualStyleInfo{};
    return std::nullopt;
}

VisualStyleInfo currentVisualStyle() {
    if (overrideSlot())
        return *overrideSlot();
    const QString chosen = qEnvironmentVariable("PICBASKET_VISUAL_STYLE");
    if (!chosen.isEmpty()) {
        if (const auto named = namedVisualStyle(chosen))
            return *named;
    }
    return standardVisualStyle();
}

void setVisualStyleOverride(std::optional<VisualStyleInfo> style) {
    overrideSlot() = std::move(style);
    notifyWidgets();
}

std::optional<VisualStyleInfo> visualStyleOverride() { return overrideSlot(); }

VisualStyleOverride::VisualStyleOverride(const VisualStyleInfo& style)
    : previous_(visualStyleOverride()) {
    setVisualStyleOverride(style);
}

VisualStyleOverride::VisualStyleOverride(const QString& name) : previous_(visualStyleOverride()) {
    setVisualStyleOverride(namedVisualStyle(name).value_or(standardVisualStyle()));
}

VisualStyleOverride::~VisualStyleOverride() { setVisualStyleOverride(previous_); }

} // namespace picbasket
