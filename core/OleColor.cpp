#include "core/OleColor.h"

#include <QGuiApplication>

namespace picbasket {

namespace {

// System colour index to the palette role that paints the same thing.
QPalette::ColorRole roleOf(int index, QPalette::ColorGroup& group) {
    group = QPalette::Active;
    switch (index) {
    case 0: return QPalette::Mid;                // scroll bar
    case 1: return QPalette::Dark;               // desktop
    case 2: return QPalette::Highlight;          // active caption
    case 3: group = QPalette::Inactive; return QPalette::Highlight; // inactive caption
    case 4: return QPalette::Window;             // menu
    case 5: return QPalette::Base;               // window
    case 6: return QPalette::Shadow;             // window frame
    case 7: return QPalette::WindowText;         // menu text
    case 8: return QPalette::Text;               // window text
    case 9: return QPalette::HighlightedText;    // caption text
    case 10: return QPalette::Midlight;          // active border
    case 11: return QPalette::Midlight;          // inactive border
    case 12: return QPalette::Dark;              // application workspace
    case 13: return QPalette::Highlight;         // highlight
    case 14: return QPalette::HighlightedText;   // highlight text
    case 15: return QPalette::Button;            // button face
    case 16: return QPalette::Dark;              // button shadow
    case 17: group = QPalette::Disabled; return QPalette::Text; // grey text
    case 18: return QPalette::ButtonText;        // button text
    case 19: group = QPalette::Inactive; return QPalette::HighlightedText; // inactive caption text
    case 20: return QPalette::Light;             // button highlight
    case 21: return QPalette::Shadow;            // button dark shadow
    case 22: return QPalette::Midlight;          // button light
    case 23: return QPalette::ToolTipText;       // info text
    case 24: return QPalette::ToolTipBase;       // info background
    case 26: return QPalette::Link;              // hot light
    case 27: return QPalette::Highlight;         // gradient active caption
    case 28: group = QPalette::Inactive; return QPalette::Highlight; // gradient inactive caption
    case 29: return QPalette::Highlight;         // menu highlight
    case 30: return QPalette::Window;            // menu bar
    default: return QPalette::Window;
    }
}

} // namespace

QColor oleToQColor(OleColor color, const QPalette& palette) {
    if (isSystemColor(color)) {
        QPalette::ColorGroup group;
        const QPalette::ColorRole role = roleOf(int(color & 0xFF), group);
        return palette.color(group, role);
    }
    return QColor(oleRed(color), oleGreen(color), oleBlue(color));
}

QColor oleToQColor(OleColor color) {
    if (!isSystemColor(color))
        return oleToQColor(color, QPalette());
    return oleToQColor(color, QGuiApplication::palette());
}

OleColor qColorToOle(const QColor& color) {
    const QColor c = color.toRgb();
    return rgbOle(c.red(), c.green(), c.blue());
}

} // namespace picbasket
