// Text placement and the frame, shadow and mask builder of the task engine.
#include "engine/tasks/modFrames.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "engine/tasks/FrameArtwork.h"
#include "platform/imagebox/ImageBox.h"

#include <QPainter>

namespace picbasket {

namespace {

int32_t rounded(double value) {
    return int32_t(roundHalfEven(value));
}

// x of horizontal text for a grid column, by alignment (0 left edge, 1 centre,
// 2 right edge of the text at x).
int32_t horizontalX(int column, int alignment, double w, double tw) {
    switch (column) {
    case 0:
        return rounded(alignment == 0 ? 0 : alignment == 1 ? tw / 2 : tw);
    case 1:
        return rounded(alignment == 0 ? (w - tw) / 2 : alignment == 1 ? w / 2 : (tw + w) / 2);
    default:
        return rounded(alignment == 0 ? w - tw : alignment == 1 ? w - tw / 2 : w);
    }
}

// One style's pieces, checked before any pixel is touched: a piece without size
// would never let a row of tiles end.
struct StylePieces {
    const QImage *topLeft, *topMiddle, *topRight, *left, *right, *bottomLeft, *bottomMiddle,
        *bottomRight;
};

const QImage& pieceAt(const std::vector<QImage>& pieces, int16_t style) {
    if (style < 0 || size_t(style) >= pieces.size())
        raiseError(err::SubscriptOutOfRange,
                   QStringLiteral("There is no frame or shadow style %1").arg(style));
    const QImage& piece = pieces[size_t(style)];
    if (piece.isNull() || piece.width() <= 0 || piece.height() <= 0)
        raiseError(err::Unexpected, QStringLiteral("Frame style %1 lacks a piece").arg(style));
    return piece;
}

StylePieces piecesOf(const FrameArtwork& art, int16_t style) {
    return {&pieceAt(art.pTop_left, style),      &pieceAt(art.pTop_middle, style),
            &pieceAt(art.pTop_right, style),     &pieceAt(art.pleft, style),
            &pieceAt(art.pRight, style),         &pieceAt(art.pBottom_left, style),
            &pieceAt(art.pBottom_middle, style), &pieceAt(art.pBottom_right, style)};
}

void requireSized(const QImage& piece) {
    if (piece.isNull() || piece.width() <= 0 || piece.height() <= 0)
        raiseError(err::Unexpected, QStringLiteral("The frame lacks a corner piece"));
}

// The frame's pieces are laid onto one clear layer the size of the image, in the
// order they are placed, each replacing what lies under it, and the layer is then
// stamped once. A big image is so blended once rather than once per piece, and the
// half-clear pieces of a shadow do not darken each other where they overlap.
// Pieces carry their clear parts in their alpha, so the box's key colour does not
// apply to them: a shadow after a transparent mask or watermark keeps its pixels.
class FrameLayer {
public:
    explicit FrameLayer(const ImageBox& box)
        : layer_(box.ImageWidth(), box.ImageHeight(), QImage::Format_ARGB32_Premultiplied) {
        if (layer_.isNull())
            raiseError(err::OutOfMemory, QStringLiteral("Not enough memory for the frame"));
        layer_.fill(Qt::transparent);
        painter_.begin(&layer_);
        painter_.setCompositionMode(QPainter::CompositionMode_Source);
    }

    void stamp(const QImage& piece, int64_t x, int64_t y) {
        if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX)
            raiseError(err::Overflow);
        lastX_ = int32_t(x);
        lastY_ = int32_t(y);
        if (x >= layer_.width() || y >= layer_.height() || x + piece.width() <= 0 ||
            y + piece.height() <= 0)
            return;
        painter_.drawImage(QPoint(lastX_, lastY_), piece);
    }

    // Stamps the layer onto the box, leaving MergeX and MergeY at the last piece.
    void stampOnto(ImageBox& box) {
        painter_.end();
        const bool keyed = box.MergeTransparent();
        box.setMergeTransparent(false);
        box.setMergeX(0);
        box.setMergeY(0);
        try {
            box.MergeBitmap(layer_);
        } catch (...) {
            box.setMergeTransparent(keyed);
            throw;
        }
        box.setMergeTransparent(keyed);
        box.setMergeX(lastX_);
        box.setMergeY(lastY_);
    }

private:
    QImage layer_;
    QPainter painter_;
    int32_t lastX_ = 0, lastY_ = 0;
};

void growCanvas(ImageBox& box, const StylePieces& p) {
    const int64_t right = int64_t(box.ImageWidth()) + p.right->width() - 2;
    const int64_t bottom = int64_t(box.ImageHeight()) + p.bottomLeft->height() - 2;
    if (right > INT32_MAX || bottom > INT32_MAX)
        raiseError(err::Overflow);
    box.Crop(-p.left->width(), -p.topLeft->height(), int32_t(right), int32_t(bottom));
}

} // namespace

void subPlaceText(uint8_t orientation, int16_t position, const ImageBox& box, const QString& text,
                  int32_t& x, int32_t& y) {
    if (position < 0 || position > 8)
        return;
    subPlaceTextIn(orientation, position, box.TextAlignment(), box.ImageWidth(), box.ImageHeight(),
                   box.TextWidth(text), box.TextHeight(text), x, y);
}

// Halves are computed in floating point and rounded halves to even.
void subPlaceTextIn(uint8_t orientation, int16_t position, int alignment, double w, double h,
                    double tw, double th, int32_t& x, int32_t& y) {
    if (position < 0 || position > 8)
        return;
    const int column = position % 3, row = position / 3;
    if (orientation == 0) {
        y = rounded(row == 0 ? 0 : row == 1 ? (h - th) / 2 : h - th);
        x = horizontalX(column, alignment, w, tw);
    } else {
        x = rounded(column == 0 ? th : column == 1 ? (th + w) / 2 : w);
        y = rounded(row == 0 ? 0 : row == 1 ? (h - tw) / 2 : h - tw);
    }
}

void subApplyFrame(int16_t style, ImageBox& box, uint8_t resizeCanvas, bool cornerPieces) {
    subApplyFrame(style, box, resizeCanvas, cornerPieces, FrameArtwork::current());
}

// The pieces of one style around a W x H image (after the canvas has grown):
//
//   +----+----+----+-- ... --+----+     TL, TM: pTop_left, pTop_middle tiles, TR
//   | TL | TM | TM |         | TR |     LT, RT: corner pieces (cornerPieces only)
//   +----+----+----+-- ... --+----+     L, R:   pleft, pRight tiles down the sides
//   | LT |                   | RT |     LB, RB: corner pieces (cornerPieces only)
//   | L  |                   | R  |     BL, BM, BR: the bottom row, stamped last
//   | LB |                   | RB |
//   +----+----+----+-- ... --+----+
//   | BL | BM | BM |         | BR |
//   +----+----+----+-- ... --+----+
//
// Later stamps cover earlier ones. The right and bottom pieces overlap the image
// by two pixels when the canvas grows. W and H stay as they are once the canvas
// has grown.
void subApplyFrame(int16_t style, ImageBox& box, uint8_t resizeCanvas, bool cornerPieces,
                   const FrameArtwork& art) {
    const StylePieces p = piecesOf(art, style);
    if (!box.HasImage())
        raiseError(err::Unexpected, QStringLiteral("There is no image to frame"));
    if (cornerPieces) {
        requireSized(art.left_top);
        requireSized(art.right_top);
        requireSized(art.left_bottom);
        requireSized(art.right_bottom);
    }
    if (resizeCanvas == 1)
        growCanvas(box, p);
    box.setMergeStyle(1);
    const int64_t W = box.ImageWidth(), H = box.ImageHeight();
    FrameLayer layer(box);
    layer.stamp(*p.topLeft, 0, 0);
    for (int64_t x = p.topLeft->width(); x < W; x += p.topMiddle->width())
        layer.stamp(*p.topMiddle, x, 0);
    layer.stamp(*p.topRight, W - p.topRight->width(), 0);
    int64_t y = p.topLeft->height();
    if (cornerPieces) {
        layer.stamp(art.left_top, 0, y);
        layer.stamp(art.right_top, W - art.left_top.width(), y);
        y += art.left_top.height();
    }
    for (; y < H; y += p.left->height()) {
        layer.stamp(*p.left, 0, y);
        layer.stamp(*p.right, W - p.right->width(), y);
    }
    if (cornerPieces) {
        y = H - (p.topLeft->height() + art.left_top.height());
        layer.stamp(art.left_bottom, 0, y);
        layer.stamp(art.right_bottom, W - art.right_bottom.width(), y);
    }
    const int64_t bottomY = H - p.bottomLeft->height();
    layer.stamp(*p.bottomLeft, 0, bottomY);
    for (int64_t x = p.topLeft->width(); x < W; x += p.topMiddle->width())
        layer.stamp(*p.bottomMiddle, x, bottomY);
    layer.stamp(*p.bottomRight, W - p.topRight->width(), bottomY);
    layer.stampOnto(box);
}

void subApplyMask(int16_t style, ImageBox& box) {
    subApplyMask(style, box, FrameArtwork::current());
}

void subApplyMask(int16_t style, ImageBox& box, const FrameArtwork& art) {
    if (style < 0 || size_t(style) >= art.Mask.size() || art.Mask[size_t(style)].isNull())
        raiseError(err::SubscriptOutOfRange, QStringLiteral("There is no mask %1").arg(style));
    if (!box.HasImage())
        raiseError(err::Unexpected, QStringLiteral("There is no image to mask"));
    const QImage& mask = art.Mask[size_t(style)];
    box.setMergeStyle(1);
    box.setMergeX(0);
    box.setMergeY(0);
    if (mask.size() == box.image().size()) {
        box.MergeBitmap(mask);
        return;
    }
    ImageBox ibTemp;
    ibTemp.setBitmapHandle(mask);
    ibTemp.Resize(box.ImageWidth(), box.ImageHeight());
    box.MergeBitmap(ibTemp.Picture());
}

} // namespace picbasket
