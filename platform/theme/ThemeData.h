#pragma once
#include <QColor>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

class QPainter;
class QWidget;

namespace picbasket {

// Part and state numbers of the theme classes that our controls draw, numbered as
// the controls have always numbered them.
namespace ebp { // class "ExplorerBar"
inline constexpr int HeaderBackground = 1, NormalGroupBackground = 5, NormalGroupCollapse = 6,
                     NormalGroupExpand = 7, NormalGroupHead = 8, SpecialGroupBackground = 9,
                     SpecialGroupCollapse = 10, SpecialGroupExpand = 11, SpecialGroupHead = 12;
} // namespace ebp
namespace bp { // class "BUTTON"
inline constexpr int PushButton = 1;
} // namespace bp
namespace cp { // class "COMBOBOX"
inline constexpr int DropDownButton = 1;
} // namespace cp
// States shared by the parts above: 1 normal, 2 hot, 3 pressed, 4 disabled, 5 default button.
namespace themestate {
inline constexpr int Normal = 1, Hot = 2, Pressed = 3, Disabled = 4, Defaulted = 5;
} // namespace themestate

// Open theme data of one class: the stand-in for the visual-styles drawing calls.
// Each part is drawn through the widget's QStyle (or the application's) with the
// widget's palette, so the themed look follows the desktop.
//
//   auto theme = ThemeData::open(this, "BUTTON");   // nothing: draw the classic look
//   if (theme) theme->drawBackground(p, bp::PushButton, themestate::Hot, rect());
//
// Class names are case-insensitive: "ExplorerBar", "BUTTON", "COMBOBOX". Opening
// fails while the style in force is not active (classic), for another class, or for
// a class the override lists as missing (VisualStyleInfo::missingClasses).
class ThemeData {
public:
    static std::optional<ThemeData> open(const QWidget* widget, const QString& className);
    // Error code of the last failed open (0 after a successful one).
    static int lastError();

    QString className() const { return className_; }
    // Draws the part in the state over `bounds`, clipped to `clip` (bounds when empty).
    // False for a part this class does not have.
    bool drawBackground(QPainter& painter, int partId, int stateId, const QRect& bounds,
                        const QRect& clip = {}) const;
    // The part's content rectangle (where its text goes) within `bounds`.
    QRect contentRect(int partId, int stateId, const QRect& bounds) const;
    // The part's text colour in the state.
    QColor textColor(int partId, int stateId) const;
    // Draws `text` into `rect` in the part's text colour with the painter's font,
    // laid out by dt:: flags (platform/theme/DrawTextFlags.h).
    bool drawText(QPainter& painter, int partId, int stateId, const QString& text,
                  uint32_t flags, const QRect& rect) const;

private:
    enum class Kind { ExplorerBar, Button, ComboBox };
    ThemeData(const QWidget* widget, Kind kind, QString className)
        : widget_(widget), kind_(kind), className_(std::move(className)) {}

    bool drawExplorerBarPart(QPainter& painter, int partId, int stateId, const QRect& r) const;
    bool drawButtonPart(QPainter& painter, int partId, int stateId, const QRect& r) const;
    bool drawComboBoxPart(QPainter& painter, int partId, int stateId, const QRect& r) const;
    void drawGroupButton(QPainter& painter, int stateId, const QRect& r, bool pointsUp,
                         bool onHighlight) const;

    const QWidget* widget_;
    Kind kind_;
    QString className_;
};

// Fills `bounds` with the background of the widget's parent (the widget's own
// window colour when it has no parent), as if the parent showed through. False
// without a widget.
bool drawThemeParentBackground(const QWidget* widget, QPainter& painter, const QRect& bounds);

} // namespace picbasket
