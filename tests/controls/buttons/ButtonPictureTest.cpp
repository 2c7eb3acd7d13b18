#include "controls/buttons/modButtonPicture.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A picture with a black, a red, a grey and a white band, 12 wide and `height` high.
QImage bandedPicture(int height) {
    QImage picture(12, height, QImage::Format_RGB32);
    const QRgb bands[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(128, 128, 128), qRgb(255, 255, 255)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < 12; ++x) {
            picture.setPixel(x, y, bands[x / 3]);
        }
    }
    return picture;
}

QImage shot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Every pixel of the picture's rectangle is the AND of the plain face and the picture;
// every other pixel is the plain face.
void expectAndedPicture(const QImage& withPicture, const QImage& plain, const QImage& picture,
                        QPoint at) {
    ASSERT_EQ(withPicture.size(), plain.size());
    int checked = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const QPoint inPicture(x - at.x(), y - at.y());
            QRgb expected = plain.pixel(x, y);
            if (picture.rect().contains(inPicture)) {
                expected = qRgb(qRed(expected) & qRed(picture.pixel(inPicture)),
                                qGreen(expected) & qGreen(picture.pixel(inPicture)),
                                qBlue(expected) & qBlue(picture.pixel(inPicture)));
                ++checked;
            }
            ASSERT_EQ(withPicture.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF) << x << "," << y;
        }
    }
    EXPECT_GT(checked, 0);
}

} // namespace

TEST(ButtonPicture, CaptionPaddingMargins) {
    const QFontMetrics metrics(QFont(QStringLiteral("Sans"), 9));
    const struct {
        const char* caption;
        int width;
        int margin;
    } rows[] = {{"Open", 100, 11},
                {"&Open", 100, 5},
                {"Save as", 75, 11},
                {"E&xit", 60, 5},
                {"A caption far wider than its button", 20, 11},
                {"", 1, 11}};
    for (const auto& r : rows) {
        const QString caption = QString::fromLatin1(r.caption);
        const QString padded = fncPadButtonCaption(caption, r.width, metrics);
        const int blanks = int(padded.size() - caption.size());
        ASSERT_GE(blanks, 1) << r.caption;
        EXPECT_EQ(padded, QString(blanks, QLatin1Char(' ')) + caption) << r.caption;
        if (blanks < r.width) {
            EXPECT_GE(metrics.horizontalAdvance(padded), r.width - r.margin) << r.caption;
        }
        if (blanks > 1) {
            EXPECT_LT(metrics.horizontalAdvance(padded.mid(1)), r.width - r.margin) << r.caption;
        }
    }
    EXPECT_EQ(fncPadButtonCaption(QStringLiteral("Open"), 0, metrics), QStringLiteral("Open"));
}

TEST(ButtonPicture, PictureIsAndedOntoTheFace) {
    QWidget window;
    QPushButton button(QStringLiteral("Print"), &window);
    button.setGeometry(10, 10, 120, 30);
    window.show();
    const QImage picture = bandedPicture(10);
    subSetButtonPicture(&button, picture);
    const QString padded = button.text();
    EXPECT_TRUE(padded.endsWith(QStringLiteral(" Print")));
    const QImage withPicture = shot(button);

    subRemoveButtonPicture(&button);
    EXPECT_FALSE(fncHasButtonPicture(&button));
    EXPECT_EQ(button.text(), padded) << "the padded caption stays after removal";
    const QImage plain = shot(button);

    expectAndedPicture(withPicture, plain, picture, QPoint(5, 10));
}

TEST(ButtonPicture, TallPictureIsCentredAndClipped) {
    QWidget window;
    QPushButton button(QStringLiteral("Scan"), &window);
    button.setGeometry(0, 0, 90, 24);
    window.show();
    const QImage picture = bandedPicture(41); // top = round(12 - 20.5) = round(-8.5) = -8
    subSetButtonPicture(&button, picture);
    const QImage withPicture = shot(button);
    subRemoveButtonPicture(&button);
    expectAndedPicture(withPicture, shot(button), picture, QPoint(5, -8));
}

TEST(ButtonPicture, InstallingAgainReplacesThePicture) {
    QWidget window;
    QPushButton button(QStringLiteral("&Add"), &window);
    button.setGeometry(0, 0, 100, 30);
    window.show();
    const auto childCount = button.children().size();
    QImage black(6, 6, QImage::Format_RGB32);
    black.fill(Qt::black);
    subSetButtonPicture(&button, black);
    const QString padded = button.text();
    const QImage picture = bandedPicture(8);
    subSetButtonPicture(&button, picture);
    EXPECT_EQ(button.text(), padded) << "the caption is padded once, from the original";
    EXPECT_EQ(button.children().size(), childCount + 1) << "one hook per button";
    const QImage withPicture = shot(button);
    subRemoveButtonPicture(&button);
    EXPECT_EQ(button.children().size(), childCount);
    expectAndedPicture(withPicture, shot(button), picture, QPoint(5, 11));
}

TEST(ButtonPicture, ClicksAndKeysStillWork) {
    QWidget window;
    QPushButton button(QStringLiteral("Go"), &window);
    button.setGeometry(0, 0, 80, 26);
    window.show();
    subSetButtonPicture(&button, bandedPicture(8));
    QSignalSpy clicked(&button, &QPushButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    button.setFocus();
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 2);
    subRemoveButtonPicture(&button);
    subRemoveButtonPicture(&button);
    subRemoveButtonPicture(nullptr);
    subSetButtonPicture(nullptr, QImage());
}
