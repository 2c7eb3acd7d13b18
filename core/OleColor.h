#pragma once
#include <QColor>
#include <QPalette>
#include <cstdint>

namespace picbasket {

// Colours are stored and passed as OLE colours: 0x00BBGGRR, or a system colour
// 0x800000nn whose low byte is the system colour index. Conversion to QColor
// happens only where a colour is painted.
using OleColor = uint32_t;

inline constexpr OleColor SystemColorFlag = 0x80000000u;
inline bool isSystemColor(OleColor c) { return (c & 0xFF000000u) == SystemColorFlag; }

// System colour indexes the windows use.
namespace syscolor {
inline constexpr OleColor ScrollBar = 0x80000000u;
inline constexpr OleColor Desktop = 0x80000001u;
inline constexpr OleColor ActiveCaption = 0x80000002u;
inline constexpr OleColor Menu = 0x80000004u;
inline constexpr OleColor Window = 0x80000005u;
inline constexpr OleColor WindowFrame = 0x80000006u;
inline constexpr OleColor MenuText = 0x80000007u;
inline constexpr OleColor WindowText = 0x80000008u;
inline constexpr OleColor CaptionText = 0x80000009u;
inline constexpr OleColor Highlight = 0x8000000Du;
inline constexpr OleColor HighlightText = 0x8000000Eu;
inline constexpr OleColor ButtonFace = 0x8000000Fu;
inline constexpr OleColor ButtonShadow = 0x80000010u;
inline constexpr OleColor GrayText = 0x80000011u;
inline constexpr OleColor ButtonText = 0x80000012u;
inline constexpr OleColor ButtonHighlight = 0x80000014u;
inline constexpr OleColor ButtonDarkShadow = 0x80000015u;
inline constexpr OleColor ButtonLight = 0x80000016u;
inline constexpr OleColor InfoText = 0x80000017u;
inline constexpr OleColor InfoBackground = 0x80000018u;
} // namespace syscolor

// OLE colour to QColor; a system colour is translated through the palette's roles.
QColor oleToQColor(OleColor color, const QPalette& palette);
// The application's current palette (needs a QGuiApplication for system colours).
QColor oleToQColor(OleColor color);
// QColor to OLE colour (alpha dropped).
OleColor qColorToOle(const QColor& color);

inline constexpr OleColor rgbOle(int r, int g, int b) {
    return OleColor(r & 0xFF) | (OleColor(g & 0xFF) << 8) | (OleColor(b & 0xFF) << 16);
}
inline int oleRed(OleColor c) { return int(c & 0xFF); }
inline int oleGreen(OleColor c) { return int((c >> 8) & 0xFF); }
inline int oleBlue(OleColor c) { return int((c >> 16) & 0xFF); }

} // namespace picbasket
