// The image box's text drawing and measuring.
#include "platform/imagebox/ImageBox.h"

#include "core/AppError.h"
#include "core/OleColor.h"
#include "platform/imagebox/edit/PixelOps.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace picbasket {

namespace {

// 96 DPI in dots per metre, the resolution text is measured and drawn at.
constexpr int TextDotsPerMeter = 3780;

QStringList linesOf(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

// The font as it is drawn: antialiasing off also turns off its smoothing.
QFont drawingFont(const QFont& font, bool antiAlias) {
    QFont f = font;
    f.setStyleStrategy(antiAlias ? QFont::PreferAntialias : QFont::NoAntialias);
    return f;
}

// A paint device at the text resolution, for measuring without an image.
const QImage& measuringDevice() {
    static const QImage device = [] {
        QImage d(1, 1, QImage::Format_ARGB32);
        d.setDotsPerMeterX(TextDotsPerMeter);
        d.setDotsPerMeterY(TextDotsPerMeter);
        return d;
    }();
    return device;
}

struct TextBox {
    QStringList lines;
    std::vector<double> lineWidths;
    int width = 0;
    int height = 0;
    double ascent = 0;
    double lineSpacing = 0;
};

TextBox measure(const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font, &measuringDevice());
    TextBox box;
    box.lines = linesOf(text);
    double widest = 0;
    for (const QString& line : box.lines) {
        box.lineWidths.push_back(metrics.horizontalAdvance(line));
        widest = std::max(widest, box.lineWidths.back());
    }
    box.width = int(std::ceil(widest));
    box.height = int(std::ceil(metrics.height() + (box.lines.size() - 1) * metrics.lineSpacing()));
    box.ascent = metrics.ascent();
    box.lineSpacing = metrics.lineSpacing();
    return box;
}

// Left edge of a run of `width` pixels anchored at 0 by the alignment.
double alignedLeft(int alignment, double width) {
    switch (alignment) {
    case 1: return -std::floor(width / 2.0);
    case 2: return -width;
    default: return 0.0;
    }
}

// Every pixel drawing the text at (0, 0) may touch: the text box and the ink of
// each line, turned as the painter turns them, with a margin for glyphs that
// reach past their ink box and for the antialiased edge.
QRect textReach(const QFont& font, const TextBox& box, int alignment, int angle) {
    const QFontMetricsF metrics(font, &measuringDevice());
    QRectF area(alignedLeft(alignment, box.width), 0, box.width, box.height);
    for (int i = 0; i < box.lines.size(); ++i) {
        const QPointF origin(alignedLeft(alignment, box.lineWidths[size_t(i)]),
                             box.ascent + i * box.lineSpacing);
        area |= metrics.boundingRect(box.lines[i]).translated(origin);
    }
    const double margin = std::ceil(box.lineSpacing / 2) + 2;
    area.adjust(-margin, -margin, margin, margin);
    QTransform turn;
    turn.rotate(-angle);
    return turn.mapRect(area).toAlignedRect().adjusted(-2, -2, 2, 2);
}

} // namespace

void ImageBox::setTextAlignment(int alignment) {
    if (alignment < 0 || alignment > 2)
        raiseError(err::Unexpected,
                   QStringLiteral("TextAlignment must be 0 to 2, not %1").arg(alignment));
    textAlignment_ = alignment;
}

int ImageBox::TextWidth(const QString& text) const {
    return measure(drawingFont(font_, textAntiAlias_), text).width;
}

int ImageBox::TextHeight(const QString& text) const {
    return measure(drawingFont(font_, textAntiAlias_), text).height;
}

//   (x, y) for alignment 0     1          2
//        *-------+     +---*---+   +-------*
//        | text  |     | text  |   | text  |
//        +-------+     +-------+   +-------+
// then the whole box turns counter-clockwise by TextAngle about (x, y).
void ImageBox::DrawText(int x, int y, const QString& text) {
    requireImage();
    if (text.isEmpty())
        return;
    const QFont font = drawingFont(font_, textAntiAlias_);
    const TextBox box = measure(font, text);
    // Draws on a working copy whose top-left pixel is `origin` of the image.
    const auto paint = [&](QImage& work, QPoint origin) {
        work.setDotsPerMeterX(TextDotsPerMeter);
        work.setDotsPerMeterY(TextDotsPerMeter);
        QPainter painter(&work);
        painter.setRenderHint(QPainter::TextAntialiasing, textAntiAlias_);
        painter.setRenderHint(QPainter::Antialiasing, textAntiAlias_ && textAngle_ % 90 != 0);
        painter.translate(x - origin.x(), y - origin.y());
        painter.rotate(-textAngle_);
        if (!textTransparent_)
            painter.fillRect(QRectF(alignedLeft(textAlignment_, box.width), 0, box.width, box.height),
                             oleToQColor(textBackColor_));
        painter.setFont(font);
        painter.setPen(oleToQColor(textColor_));
        for (int i = 0; i < box.lines.size(); ++i) {
            const double left = alignedLeft(textAlignment_, box.lineWidths[size_t(i)]);
            painter.drawText(QPointF(left, box.ascent + i * box.lineSpacing), box.lines[i]);
        }
    };
    // A 24-bit image converts pixel by pixel, so only the pixels the text can reach
    // need a working copy: a line of text on a photo stays a small edit. Qt fills a
    // box turned by other than a right angle with edges that depend on where the
    // device ends, so that box is drawn on the whole image as before.
    const bool near = std::abs(x) < (1 << 24) && std::abs(y) < (1 << 24);
    const bool turnedBox = !textTransparent_ && textAngle_ % 90 != 0;
    if (near && !turnedBox && image_.format() == QImage::Format_RGB888 &&
        editRegion(textReach(font, box, textAlignment_, textAngle_).translated(x, y), paint))
        return;
    QImage work = pixelops::checked(pixelops::toWorking(image_).convertToFormat(
        image_.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32));
    paint(work, QPoint(0, 0));
    if (work.hasAlphaChannel())
        work = pixelops::checked(work.convertToFormat(QImage::Format_ARGB32));
    commitEdit(pixelops::fromWorking(work, image_));
}

} // namespace picbasket
