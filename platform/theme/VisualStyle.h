#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace picbasket {

// The visual style in force: the stand-in for the system's visual-styles query.
//
// By default the standard themed look is active: controls draw their theme parts
// through the application's QStyle (see ThemeData), the file name is the QStyle's
// name and the colour name "NormalColor". An override selects another look, for
// tests (VisualStyleOverride) or for the user (the PICBASKET_VISUAL_STYLE
// environment variable, read when no override is set: one of the names accepted
// by namedVisualStyle).
//
// Controls compare `colorName` to choose their own looks ("Metallic", "HomeStead")
// and treat `active == false` as the classic look. A change of the override sends
// QEvent::ThemeChange to every widget, so controls refresh in changeEvent.
struct VisualStyleInfo {
    bool active = false;       // visual styles in force; false: classic look
    QString fileName;          // the style's file name, as the system would report it
    QString colorName;         // the style's colour-scheme name
    QStringList missingClasses; // theme classes that cannot be opened (to test fallbacks)
};

// The style in force: the override, else the environment's choice, else the standard look.
VisualStyleInfo currentVisualStyle();

// The standard themed look drawn through QStyle.
VisualStyleInfo standardVisualStyle();

// "Standard", "Metallic", "HomeStead" or "Classic" (case-insensitive); nothing for
// another name. Metallic and HomeStead report the file name "luna.msstyles" that
// the colour-scheme tables of the controls look for.
std::optional<VisualStyleInfo> namedVisualStyle(const QString& name);

// Replaces the style in force (nothing: back to the default) and tells every widget.
void setVisualStyleOverride(std::optional<VisualStyleInfo> style);
std::optional<VisualStyleInfo> visualStyleOverride();

// Sets an override for its lifetime and restores the previous one afterwards.
class VisualStyleOverride {
public:
    explicit VisualStyleOverride(const VisualStyleInfo& style);
    explicit VisualStyleOverride(const QString& name); // a name of namedVisualStyle
    ~VisualStyleOverride();
    VisualStyleOverride(const VisualStyleOverride&) = delete;
    VisualStyleOverride& operator=(const VisualStyleOverride&) = delete;

private:
    std::optional<VisualStyleInfo> previous_;
};

} // namespace picbasket
