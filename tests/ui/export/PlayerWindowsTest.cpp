#include "players/GreetingWindow.h"
#include "players/ImageShowWindow.h"
#include "players/PlayerFile.h"
#include "players/ProgramLayout.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

QByteArray jpegOf(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return bytes;
}

// A program file of the given images (no template bytes to speak of) opened as a
// player opens its own.
class PlayerWindows : public ::testing::Test {
protected:
    void open(const QList<QByteArray>& images) {
        QFile out(dir.filePath("program"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        layout::ProgramLayoutWriter writer(out);
        writer.writeTemplate("player");
        QByteArray list;
        for (int i = 0; i < images.size(); ++i)
            list += writer.appendImage(QString::number(i), images[i]);
        writer.finish(list);
        out.close();
        QString error;
        ASSERT_TRUE(file.open(dir.filePath("program"), error)) << error.toStdString();
    }

    QTemporaryDir dir;
    PlayerFile file;
};

bool near(QRgb a, QColor b) {
    return std::abs(qRed(a) - b.red()) < 12 && std::abs(qGreen(a) - b.green()) < 12 &&
           std::abs(qBlue(a) - b.blue()) < 12;
}

} // namespace

TEST_F(PlayerWindows, SlideShowFitsWithoutEnlargingAndArrowsStepRoundTheLoop) {
    open({jpegOf(40, 30, Qt::red), jpegOf(4000, 1000, Qt::green), jpegOf(30, 40, Qt::yellow)});
    ImageShowWindow window(file, ImageShowWindow::Mode::SlideShow, 3, QColor(Qt::blue));
    QApplication::processEvents();
    const QSize screen = window.size();
    ASSERT_GT(screen.width(), 100);
    QImage shot = window.grab().toImage();
    // A small image stays small, centred on the background.
    EXPECT_TRUE(near(shot.pixel(screen.width() / 2, screen.height() / 2), Qt::red));
    EXPECT_TRUE(near(shot.pixel(screen.width() / 2 - 25, screen.height() / 2), Qt::blue));
    EXPECT_TRUE(near(shot.pixel(2, 2), Qt::blue));

    QTest::keyClick(&window, Qt::Key_Right);
    EXPECT_EQ(window.current(), 1);
    shot = window.grab().toImage();
    // A wide image is fitted to the width, its aspect kept.
    EXPECT_TRUE(near(shot.pixel(1, screen.height() / 2), Qt::green));
    EXPECT_TRUE(near(shot.pixel(screen.width() / 2, 1), Qt::blue));
    QTest::keyClick(&window, Qt::Key_Down);
    EXPECT_EQ(window.current(), 2);
    QTest::keyClick(&window, Qt::Key_Right);
    EXPECT_EQ(window.current(), 0);
    QTest::keyClick(&window, Qt::Key_Left);
    EXPECT_EQ(window.current(), 2);
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PlayerWindows, ScreensaverEndsOnAMouseMoveOfSomePixelsOrAnyKey) {
    open({jpegOf(40, 30, Qt::red)});
    {
        ImageShowWindow window(file, ImageShowWindow::Mode::Screensaver, 5, QColor(Qt::black));
        QApplication::processEvents();
        QTest::mouseMove(&window, QPoint(100, 100));
        QTest::mouseMove(&window, QPoint(104, 103));
        EXPECT_TRUE(window.isVisible());
        QTest::mouseMove(&window, QPoint(140, 100));
        EXPECT_FALSE(window.isVisible());
    }
    ImageShowWindow window(file, ImageShowWindow::Mode::Screensaver, 5, QColor(Qt::black));
    QApplication::processEvents();
    QTest::keyClick(&window, Qt::Key_A);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PlayerWindows, GreetingTogglesFullScreenOnFAndDrawsFireworks) {
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(QColor(20, 20, 60));
    GreetingWindow window(picture);
    QApplication::processEvents();
    EXPECT_FALSE(window.isFullScreenMode());
    EXPECT_EQ(window.size(), QSize(120, 80));
    // Some frames in, rockets have risen into the picture.
    QTest::qWait(1500);
    const QImage frame = window.grab().toImage();
    int changed = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            changed += !near(frame.pixel(x, y), QColor(20, 20, 60));
    EXPECT_GT(changed, 0);
    QTest::keyClick(&window, Qt::Key_F);
    EXPECT_TRUE(window.isFullScreenMode());
    QTest::keyClick(&window, Qt::Key_F);
    EXPECT_FALSE(window.isFullScreenMode());
    EXPECT_EQ(window.size(), QSize(120, 80));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}
