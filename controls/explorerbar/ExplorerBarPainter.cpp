#include "controls/explorerbar/ExplorerBarPainter.h"

#include "controls/explorerbar/ExplorerBarColors.h"
#include "core/OleColor.h"
#include "platform/theme/DrawTextFlags.h"

#include <QPainter>
#include <QWidget>
#include <cstdlib>

namespace picbasket {

namespace {

using Style = ExplorerTextMeasurer::Style;

const QString Metallic = QStringLiteral("Metallic");
const QString HomeStead = QStringLiteral("HomeStead");
const QString Classic = QStringLiteral("Classic");

// Header captions: one line, vertically centred, ending in an ellipsis when too
// long. Only the drawn text is shortened; the stored caption stays whole.
constexpr uint32_t CaptionFlags = dt::SingleLine | dt::VCenter | dt::WordEllipsis | dt::ModifyString;

QColor bodyFill(const QString& scheme) {
    return scheme == Metallic ? QColor(240, 241, 245) : QColor(246, 246, 236);
}

// A filled box with both corners included, as a filled line-box is drawn.
void fillBox(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour) {
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), colour);
}

// The one-pixel outline of a box with both corners included.
void outlineBox(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour) {
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y1)), colour);
    p.fillRect(QRect(QPoint(x1, y2), QPoint(x2, y2)), colour);
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x1, y2)), colour);
    p.fillRect(QRect(QPoint(x2, y1), QPoint(x2, y2)), colour);
}

// A straight or diagonal line whose end point is left out.
void gdiLine(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour) {
    const int dx = x2 - x1, dy = y2 - y1;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i)
        p.fillRect(QRect(x1 + dx * i / steps, y1 + dy * i / steps, 1, 1), colour);
}

QColor system(const QWidget* widget, uint32_t colour) {
    return oleToQColor(colour, widget != nullptr ? widget->palette() : QPalette());
}

} // namespace

ExplorerBarPainter::ExplorerBarPainter(QPainter& painter, const ExplorerBarModel& model,
                                       const ExplorerPaintContext& context)
    : p_(painter), model_(model), ctx_(context), measurer_(context.controlFont) {
    part_.hWnd = ctx_.widget;
    textColour_ = sys(syscolor::ButtonText);
}

QColor ExplorerBarPainter::sys(uint32_t systemColour) const {
    return system(ctx_.widget, systemColour);
}

void ExplorerBarPainter::useFont(Style style) {
    p_.setFont(FontTextMeasurer::fontFor(ctx_.controlFont, style));
}

void ExplorerBarPainter::paintPart() {
    PaintThemePart(p_, part_, ctx_.colorScheme, ctx_.useUxThemeText, ctx_.ignore);
}

void ExplorerBarPainter::UserControl_Paint() {
    if (!model_.updatesEnabled())
        return;
    paintBackground();
    if (model_.specialGroup().Visible)
        paintSpecialGroup();
    for (int i = 1; i <= model_.GroupCount(); ++i)
        paintNormalGroup(i);
    if (model_.detailsGroup().Visible)
        paintDetailsGroup();
}

void ExplorerBarPainter::paintBackground() {
    part_.PartId = 1;
    part_.StateId = 1;
    part_.Left = 0;
    part_.Top = 0;
    part_.Width = ctx_.clientWidth;
    part_.Height = ctx_.clientHeight;
    part_.Text.clear();
    part_.TextIndent = 32;
    part_.TextRightMargin = 25;
    part_.TextFlags = 0x40024;
    part_.Drawn = false;
    if (ctx_.colorScheme != Classic)
        paintPart();
    if (!part_.Drawn)
        p_.fillRect(QRect(0, 0, ctx_.clientWidth, ctx_.clientHeight), sys(syscolor::ButtonFace));
}

void ExplorerBarPainter::paintBody(const typExplorerGroup& group, int partId,
                                   const QColor& classicOutline) {
    const int L = group.HeaderRect.Left, T = group.HeaderRect.Bottom;
    const int W = group.HeaderRect.width(), H = group.BodyHeight;
    part_.PartId = partId;
    part_.StateId = 1;
    part_.Text.clear();
    part_.Left = L;
    part_.Top = T;
    part_.Width = W;
    part_.Height = H;
    if (ctx_.colorScheme == Metallic || ctx_.colorScheme == HomeStead) {
        fillBox(p_, L, T, L + W - 1, T + H, bodyFill(ctx_.colorScheme));
        outlineBox(p_, L, T, L + W - 1, T + H, Qt::white);
        part_.Drawn = true;
    } else {
        paintPart();
    }
    if (!part_.Drawn)
        outlineBox(p_, L, T, L + W, T + H, classicOutline);
}

void ExplorerBarPainter::paintSpecialGroup() {
    const typSpecialGroup& special = model_.specialGroup();
    DrawSpecialHeader();
    if (!special.Expanded)
        return;
    paintBody(special, 9, sys(syscolor::Highlight));
    if (!special.Background.isNull()) {
        const QRect target(special.HeaderRect.Left + 1, special.HeaderRect.Bottom + 1,
                           special.HeaderRect.width() - 2, special.BodyHeight - 2);
        p_.save();
        p_.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p_.drawImage(target, special.Background);
        p_.restore();
    }
    for (int j = 1; j <= special.ItemCount(); ++j)
        DrawItem(-1, j, special.item(j).Hot ? 2 : 0);
}

void ExplorerBarPainter::paintNormalGroup(int index) {
    const typExplorerGroup& group = model_.group(index);
    DrawGroupHeader(index);
    if (!group.Expanded || group.Child)
        return;
    paintBody(group, 5, sys(syscolor::ButtonFace));
    for (int j = 1; j <= group.ItemCount(); ++j)
        DrawItem(index, j, group.item(j).Hot ? 2 : 0);
}

// The details body: the picture (a square keeping 64 pixels free at each side),
// the bold title below it, then the text in TextRect.
void ExplorerBarPainter::paintDetailsGroup() {
    const typDetailsGroup& details = model_.detailsGroup();
    DrawDetailsHeader();
    if (!details.Expanded)
        return;
    paintBody(details, 5, sys(syscolor::ButtonFace));
    const int side = ctx_.clientWidth - 128;
    const int room = details.Image.isNull() ? 0 : 12 + std::max(0, side);
    if (!details.Image.isNull() && side > 0)
        p_.drawImage(QRect(64, details.HeaderRect.Bottom + 8, side, side), details.Image);
    const int titleTop = details.HeaderRect.Bottom + room + 11;
    useFont(Style::Bold);
    drawWrappedText(QRect(QPoint(details.TextRect.Left, titleTop),
                          QPoint(ctx_.clientWidth - 32 - 1, details.TextRect.Top - 2 - 1)),
                    details.Title, Style::Bold);
    useFont(Style::Plain);
    drawWrappedText(details.TextRect.toQRect(), details.Details, Style::Plain);
}

void ExplorerBarPainter::DrawGroupHeader(int Index) { drawHeader(model_.group(Index), false); }

void ExplorerBarPainter::DrawDetailsHeader() { drawHeader(model_.detailsGroup(), false); }

void ExplorerBarPainter::DrawSpecialHeader() {
    const typSpecialGroup& special = model_.specialGroup();
    drawHeader(special, true);
    if (!special.Icon.isNull())
        p_.drawImage(QPoint(12, special.HeaderRect.Top - 8), special.Icon);
}

void ExplorerBarPainter::drawHeader(const typExplorerGroup& group, bool special) {
    useFont(Style::Bold);
    part_.PartId = special ? 12 : 8;
    part_.Left = group.HeaderRect.Left;
    part_.Top = group.HeaderRect.Top;
    part_.Width = group.HeaderRect.width();
    part_.Height = group.HeaderRect.height();
    part_.StateId = group.HeaderState;
    part_.Text = group.Caption;
    part_.TextIndent = special ? 36 : 0;
    if (!drawOwnHeader(group, special)) {
        paintPart();
        if (!part_.Drawn)
            drawClassicHeader(group, special);
    }
    textColour_ = sys(syscolor::ButtonText);
    useFont(Style::Item);
    drawButton(group, special);
}

void ExplorerBarPainter::drawCaption(const QRect& box, const QString& caption,
                                     const QColor& colour) {
    p_.save();
    p_.setPen(colour);
    drawFlaggedText(p_, box, caption, CaptionFlags);
    p_.restore();
}

// The own looks fill the header with three gradients that leave the two top
// corners rounded:
//
//     ..########..     (Left + 2, Top,     Width - 4, Height)
//     .##########.     (Left + 1, Top + 1, Width - 2, Height - 1)
//     ############     (Left,     Top + 2, Width,     Height - 2)
bool ExplorerBarPainter::drawOwnHeader(const typExplorerGroup& group, bool special) {
    const bool metallic = ctx_.colorScheme == Metallic;
    if (!metallic && !(ctx_.colorScheme == HomeStead && !special))
        return false;
    int32_t from = 0, to = 0;
    QColor colour;
    if (special) {
        from = int32_t(rgbOle(119, 119, 146));
        to = int32_t(rgbOle(180, 182, 199));
        colour = sys(group.HeaderHot ? syscolor::ButtonFace : syscolor::ButtonHighlight);
    } else if (metallic) {
        from = int32_t(rgbOle(255, 255, 255));
        to = int32_t(rgbOle(214, 215, 224));
        colour = sys(group.HeaderHot ? syscolor::ButtonDarkShadow : syscolor::ButtonText);
    } else {
        from = int32_t(rgbOle(255, 252, 236));
        to = int32_t(rgbOle(224, 231, 184));
        colour = sys(group.HeaderHot ? syscolor::Highlight : syscolor::ButtonDarkShadow);
    }
    const ExplorerRect& r = group.HeaderRect;
    const int W = r.width(), H = r.height();
    DoGradient(p_, from, to, 0, r.Left + 2, r.Top, W - 4, H);
    DoGradient(p_, from, to, 0, r.Left + 1, r.Top + 1, W - 2, H - 1);
    DoGradient(p_, from, to, 0, r.Left, r.Top + 2, W, H - 2);
    const QRect box(QPoint(r.Left + (special ? 36 : 12), r.Top), QPoint(r.Right - 25 - 1, r.Bottom - 1));
    drawCaption(box, group.Caption, colour);
    return true;
}

void ExplorerBarPainter::drawClassicHeader(const typExplorerGroup& group, bool special) {
    const ExplorerRect& r = group.HeaderRect;
    p_.fillRect(r.toQRect(), sys(special ? syscolor::Highlight : syscolor::ButtonFace));
    const QRect box(QPoint(r.Left + (special ? 36 : 12), r.Top), QPoint(r.Right - 25 - 1, r.Bottom - 1));
    drawCaption(box, group.Caption, sys(special ? syscolor::HighlightText : syscolor::ButtonText));
}

void ExplorerBarPainter::drawButton(const typExplorerGroup& group, bool special) {
    const int L = ctx_.contentWidth - 32, T = group.HeaderRect.Top;
    part_.PartId = special ? (group.Expanded ? 10 : 11) : (group.Expanded ? 6 : 7);
    part_.Text.clear();
    part_.Left = L;
    part_.Top = T;
    part_.Width = 24;
    part_.Height = 24;
    part_.StateId = group.HeaderState;
    int row = -1;
    if (ctx_.colorScheme == Metallic)
        row = 0;
    else if (ctx_.colorScheme == HomeStead && !special)
        row = 18;
    if (row >= 0) {
        const int column = special ? (group.Expanded ? 17 : 0) : (group.Expanded ? 51 : 34);
        p_.drawImage(QPoint(L + 4, T + 4), ctx_.buttonStrip, QRect(column, row, 17, 17));
        part_.Drawn = true;
    } else {
        paintPart();
    }
    if (!part_.Drawn)
        drawClassicButton(group, special);
}

void ExplorerBarPainter::drawClassicButton(const typExplorerGroup& group, bool special) {
    const int L = part_.Left, T = part_.Top, W = part_.Width, H = part_.Height;
    QColor c1 = sys(special ? syscolor::Highlight : syscolor::ButtonFace), c2 = c1;
    if (group.HeaderState == 3) {
        c1 = sys(syscolor::ButtonHighlight);
        c2 = sys(syscolor::ButtonShadow);
    } else if (group.HeaderState == 2) {
        c1 = sys(syscolor::ButtonShadow);
        c2 = sys(syscolor::ButtonHighlight);
    }
    gdiLine(p_, L + 4, T + H - 4, L + W - 4, T + H - 4, c1);
    gdiLine(p_, L + W - 4, T + 4, L + W - 4, T + H - 4, c1);
    gdiLine(p_, L + 4, T + 4, L + 4, T + H - 4, c2);
    gdiLine(p_, L + 4, T + 4, L + W - 4, T + 4, c2);
    DrawChevrons(L, T, group.Expanded, sys(special ? syscolor::Window : syscolor::ButtonText));
}

void ExplorerBarPainter::DrawChevrons(int X, int Y, bool Expanded, const QColor& Color) {
    // Two chevrons, each of two lines side by side; the second pair 4 pixels lower.
    for (int k = 0; k < 2; ++k) {
        const int y = Y + 4 * k;
        if (Expanded) {
            gdiLine(p_, X + 9, y + 11, X + 13, y + 7, Color);
            gdiLine(p_, X + 10, y + 11, X + 13, y + 8, Color);
            gdiLine(p_, X + 15, y + 11, X + 11, y + 7, Color);
            gdiLine(p_, X + 14, y + 11, X + 11, y + 8, Color);
        } else {
            gdiLine(p_, X + 9, y + 8, X + 13, y + 12, Color);
            gdiLine(p_, X + 10, y + 8, X + 13, y + 11, Color);
            gdiLine(p_, X + 15, y + 8, X + 11, y + 12, Color);
            gdiLine(p_, X + 14, y + 8, X + 11, y + 11, Color);
        }
    }
}

void ExplorerBarPainter::DrawItem(int Group, int Item, int State) {
    if (State == 1)
        textColour_ = sys(syscolor::ButtonText);
    else if (State >= 2)
        textColour_ = sys(syscolor::Highlight);
    useFont(Style::Item);
    const typExplorerGroup* owner = model_.groupAt(Group);
    if (owner == nullptr || Item < 1 || Item > owner->ItemCount())
        return;
    const typExplorerItem& item = owner->item(Item);
    const ExplorerRect& r = item.ItemRect;
    drawWrappedText(QRect(QPoint(r.Left + 20, r.Top), QPoint(ctx_.contentWidth - 12 - 1, r.Bottom - 1)),
                    item.Caption, Style::Item);
    const ExplorerImageList* icons = model_.imageList();
    if (icons != nullptr && item.Icon >= 1 && item.Icon <= icons->count()) {
        const QImage icon = icons->image(item.Icon);
        if (!icon.isNull())
            p_.drawImage(QRect(r.Left, r.Top, 16, 16), icon);
    }
    textColour_ = sys(syscolor::ButtonText);
}

// Draws text word-wrapped into the box, whose height becomes the text's height.
void ExplorerBarPainter::drawWrappedText(const QRect& box, const QString& text, Style style) {
    const int height = measurer_.GetTextHeight(box.left(), box.right() + 1, text, style);
    p_.save();
    p_.setPen(textColour_);
    drawFlaggedText(p_, QRect(box.left(), box.top(), box.width(), height), text, dt::WordBreak);
    p_.restore();
}

void ExplorerBarPainter::PaintHostedBody(QPainter& painter, const QWidget* container,
                                         const QString& colorScheme, bool useUxThemeText,
                                         const std::function<void(const QString&)>& ignore) {
    const int W = container->width(), H = container->height();
    if (colorScheme == Metallic || colorScheme == HomeStead) {
        fillBox(painter, 0, 0, W - 1, H, bodyFill(colorScheme));
        outlineBox(painter, 0, 0, W - 1, H, Qt::white);
        return;
    }
    if (colorScheme == Classic) {
        fillBox(painter, 0, 0, W - 1, H, system(container, syscolor::Window));
        outlineBox(painter, 0, 0, W - 1, H, system(container, syscolor::ButtonFace));
        return;
    }
    typThemePart part;
    part.hWnd = container;
    part.PartId = 5;
    part.StateId = 1;
    part.Width = W;
    part.Height = H;
    PaintThemePart(painter, part, colorScheme, useUxThemeText, ignore);
    if (!part.Drawn)
        outlineBox(painter, 0, 0, W - 1, H, system(container, syscolor::ButtonFace));
}

} // namespace picbasket
