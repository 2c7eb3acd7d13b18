#pragma once
#include <QRect>
#include <QString>
#include <cstdint>

class QPainter;
class QFontMetrics;

namespace picbasket {

// Text format flags in the Windows layout (DrawText / DrawThemeText), so that
// stored and shared flag values keep their meaning.
namespace dt {
inline constexpr uint32_t Left = 0x0, Center = 0x1, Right = 0x2, VCenter = 0x4, Bottom = 0x8;
inline constexpr uint32_t WordBreak = 0x10, SingleLine = 0x20, ExpandTabs = 0x40;
inline constexpr uint32_t NoClip = 0x100, CalcRect = 0x400, NoPrefix = 0x800;
inline constexpr uint32_t PathEllipsis = 0x4000, EndEllipsis = 0x8000;
inline constexpr uint32_t ModifyString = 0x10000, WordEllipsis = 0x40000;
} // namespace dt

// The text as it fits into `width` under `flags`: elided at the end when an
// ellipsis flag is set on a single line, else unchanged.
QString fittedText(const QFontMetrics& metrics, const QString& text, int width, uint32_t flags);

// Draws `text` into `rect` with the painter's font and pen, laid out by `flags`
// (alignment, single line or word wrap, ellipsis, clipping). With dt::CalcRect
// nothing is drawn. Returns the height of the laid-out text. The caller's string
// is never changed; dt::ModifyString only fills `shown` with what was drawn.
int drawFlaggedText(QPainter& painter, const QRect& rect, const QString& text, uint32_t flags,
                    QString* shown = nullptr);

} // namespace picbasket
