#include "controls/buttons/MainWindowPictures.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace picbasket {

namespace {

enum class Glyph {
    Folder,
    Gear,
    Info,
    Grid,
    List,
    Plus,
    Zoom,
    Left,
    Right,
    Eye,
    Disk,
    Undo,
    Picture,
    Printer,
    Pencil,
    Scanner,
    Camera,
    Page,
    Cross,
    Stack,
    Tag
};

const QHash<QString, Glyph>& glyphs() {
    static const QHash<QString, Glyph> table{
        {QStringLiteral("picSaveMultiPage"), Glyph::Disk},
        {QStringLiteral("picDetailFolder"), Glyph::List},
        {QStringLiteral("iDetailIcon"), Glyph::Page},
        {QStringLiteral("picThumbnailFolder"), Glyph::Grid},
        {QStringLiteral("picAddToQueue"), Glyph::Plus},
        {QStringLiteral("picBrowseSettings"), Glyph::Gear},
        {QStringLiteral("picBrowseAbout"), Glyph::Info},
        {QStringLiteral("picPreviewView"), Glyph::Zoom},
        {QStringLiteral("picPreviewPrevious"), Glyph::Left},
        {QStringLiteral("picPreviewNext"), Glyph::Right},
        {QStringLiteral("picPreviewType"), Glyph::Eye},
        {QStringLiteral("picPreviewSave"), Glyph::Disk},
        {QStringLiteral("IconReset"), Glyph::Undo},
        {QStringLiteral("IconOriginalImage"), Glyph::Picture},
        {QStringLiteral("picBatchPrint"), Glyph::Printer},
        {QStringLiteral("IconEditbar0"), Glyph::Page},
        {QStringLiteral("IconEditbar1"), Glyph::Folder},
        {QStringLiteral("IconEditbar2"), Glyph::Disk},
        {QStringLiteral("IconEditbar3"), Glyph::Cross},
        {QStringLiteral("picMetadataEdit"), Glyph::Pencil},
        {QStringLiteral("picMetadataAdd"), Glyph::Plus},
        {QStringLiteral("picPreviewEdit"), Glyph::Pencil},
        {QStringLiteral("picPreviewPrint"), Glyph::Printer},
        {QStringLiteral("picTwainAcquire"), Glyph::Scanner},
        {QStringLiteral("picCapture"), Glyph::Camera},
        {QStringLiteral("imgQueue"), Glyph::Stack},
        {QStringLiteral("imgMetadata"), Glyph::Tag},
        {QStringLiteral("imgFolder"), Glyph::Folder},
    };
    return table;
}

void drawGlyph(QPainter& p, Glyph glyph) {
    const QColor ink(40, 60, 110);
    p.setPen(QPen(ink, 1.4));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Folder:
        p.setBrush(QColor(230, 190, 90));
        p.drawPolygon(
            QPolygonF({{1.5, 4}, {6, 4}, {7.5, 5.5}, {14.5, 5.5}, {14.5, 13.5}, {1.5, 13.5}}));
        break;
    case Glyph::Gear:
        p.drawEllipse(QPointF(8, 8), 4.5, 4.5);
        p.drawEllipse(QPointF(8, 8), 1.5, 1.5);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(8, 8);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, 4.5), QPointF(0, 7));
            p.restore();
        }
        break;
    case Glyph::Info:
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        p.drawLine(QPointF(8, 7), QPointF(8, 12));
        p.drawPoint(QPointF(8, 4.5));
        break;
    case Glyph::Grid:
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                p.drawRect(QRectF(2 + x * 7, 2 + y * 7, 5, 5));
        break;
    case Glyph::List:
        for (int y = 0; y < 4; ++y) {
            p.drawRect(QRectF(1.5, 2 + y * 3.5, 2, 2));
            p.drawLine(QPointF(5.5, 3 + y * 3.5), QPointF(14.5, 3 + y * 3.5));
        }
        break;
    case Glyph::Plus:
        p.setPen(QPen(QColor(20, 120, 40), 2.5));
        p.drawLine(QPointF(8, 2), QPointF(8, 14));
        p.drawLine(QPointF(2, 8), QPointF(14, 8));
        break;
    case Glyph::Zoom:
        p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        p.setPen(QPen(ink, 2.5));
        p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
        break;
    case Glyph::Left:
    case Glyph::Right: {
        p.setBrush(ink);
        QPolygonF arrow({{11, 2}, {4, 8}, {11, 14}});
        if (glyph == Glyph::Right)
            arrow = QPolygonF({{5, 2}, {12, 8}, {5, 14}});
        p.drawPolygon(arrow);
        break;
    }
    case Glyph::Eye:
        p.drawEllipse(QRectF(1.5, 4.5, 13, 7));
        p.setBrush(ink);
        p.drawEllipse(QPointF(8, 8), 2, 2);
        break;
    case Glyph::Disk:
        p.setBrush(QColor(120, 150, 210));
        p.drawRect(QRectF(2, 2, 12, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 2, 7, 4.5));
        break;
    case Glyph::Undo:
        p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, -270 * 16);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({{8, 1}, {11, 3}, {8, 5}}));
        break;
    case Glyph::Picture:
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setBrush(QColor(90, 160, 90));
        p.drawPolygon(QPolygonF({{2, 13}, {6, 8}, {9, 11}, {11, 9}, {14, 13}}));
        break;
    case Glyph::Printer:
        p.drawRect(QRectF(4.5, 1.5, 7, 4));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(1.5, 5.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        break;
    case Glyph::Pencil:
        p.setPen(QPen(ink, 2.5));
        p.drawLine(QPointF(3, 13), QPointF(13, 3));
        p.setPen(QPen(QColor(200, 80, 40), 2.5));
        p.drawLine(QPointF(11, 5), QPointF(13, 3));
        break;
    case Glyph::Scanner:
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(1.5, 7.5, 13, 6));
        p.drawLine(QPointF(2, 7), QPointF(12, 2));
        break;
    case Glyph::Camera:
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        p.drawRect(QRectF(5.5, 2.5, 5, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 9), 2.5, 2.5);
        break;
    case Glyph::Page:
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({{3.5, 1.5}, {10, 1.5}, {12.5, 4}, {12.5, 14.5}, {3.5, 14.5}}));
        p.drawLine(QPointF(5.5, 7), QPointF(10.5, 7));
        p.drawLine(QPointF(5.5, 10), QPointF(10.5, 10));
        break;
    case Glyph::Cross:
        p.setPen(QPen(QColor(190, 30, 30), 2.5));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
        break;
    case Glyph::Stack:
        p.setBrush(Qt::white);
        for (int i = 2; i >= 0; --i)
            p.drawRect(QRectF(1.5 + i * 2, 1.5 + (2 - i) * 2.5, 9, 8));
        break;
    case Glyph::Tag:
        p.setBrush(QColor(240, 210, 120));
        p.drawPolygon(QPolygonF({{1.5, 5}, {10, 5}, {14.5, 8}, {10, 11}, {1.5, 11}}));
        break;
    }
}

} // namespace

QImage fncMainWindowPicture(const QString& pictureBox) {
    const auto found = glyphs().constFind(pictureBox);
    if (found == glyphs().constEnd())
        return {};
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGlyph(painter, *found);
    return picture;
}

} // namespace picbasket
