#include "platform/theme/DrawTextFlags.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(DrawTextFlags, EllipsisOnlyOnASingleLine) {
    const QFont font;
    const QFontMetrics metrics(font);
    const QString text = "A rather long caption that cannot fit";
    const int narrow = metrics.horizontalAdvance("A rather");
    const QString elided = fittedText(metrics, text, narrow, dt::SingleLine | dt::WordEllipsis);
    EXPECT_TRUE(elided.endsWith(QChar(0x2026)));
    EXPECT_LE(metrics.horizontalAdvance(elided), narrow);
    EXPECT_EQ(fittedText(metrics, text, narrow, dt::WordBreak | dt::WordEllipsis), text);
    EXPECT_EQ(fittedText(metrics, text, narrow, dt::SingleLine), text);
    EXPECT_EQ(fittedText(metrics, "short", 10000, dt::SingleLine | dt::EndEllipsis), "short");
}

TEST(DrawTextFlags, WrappingGrowsHeightAndCalcRectDrawsNothing) {
    QImage image(60, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QString text = "one two three four five six seven";
    const int single = drawFlaggedText(painter, image.rect(), text, dt::SingleLine | dt::CalcRect);
    const int wrapped = drawFlaggedText(painter, image.rect(), text, dt::WordBreak | dt::CalcRect);
    painter.end();
    EXPECT_EQ(single, QFontMetrics(QFont()).height());
    EXPECT_GT(wrapped, 2 * single);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255));
}

TEST(DrawTextFlags, CallersStringStaysWholeAndDrawingIsClipped) {
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    const QString caption = "A caption far too long for its little box";
    QString shown;
    drawFlaggedText(painter, QRect(0, 0, 50, 20), caption,
                    dt::SingleLine | dt::VCenter | dt::WordEllipsis | dt::ModifyString, &shown);
    painter.end();
    EXPECT_EQ(caption, "A caption far too long for its little box");
    EXPECT_NE(shown, caption);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 50; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}
