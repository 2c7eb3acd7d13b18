#include "core/AppError.h"
#include "core/OleColor.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

QImage grey(int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(QColor(100, 100, 100));
    return image;
}

int countDiffering(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace

TEST(ImageBoxView, InvertingOverlayTogglesWithoutTouchingPixels) {
    ImageBoxView view;
    view.box().setImage(grey(40, 30));
    const QImage image = view.box().image();
    const QImage plain = view.renderDisplay();
    view.box().setDrawPenMode(15);
    view.box().setDrawPenStyle(0);
    view.box().DrawRectangle(5, 5, 15, 10);
    const QImage marked = view.renderDisplay();
    // The outline of a 10 x 5 rectangle has 2 * 10 + 2 * 3 pixels, each inverted.
    EXPECT_EQ(countDiffering(plain, marked), 26);
    EXPECT_EQ(marked.pixel(5, 5), qRgb(155, 155, 155));
    EXPECT_EQ(marked.pixel(14, 9), qRgb(155, 155, 155));
    EXPECT_EQ(marked.pixel(15, 10), plain.pixel(15, 10));
    view.box().DrawRectangle(5, 5, 15, 10);
    EXPECT_EQ(view.renderDisplay(), plain);
    EXPECT_EQ(view.box().image(), image);
}

TEST(ImageBoxView, DashedOutlineLeavesGaps) {
    ImageBoxView view;
    view.box().setImage(grey(40, 30));
    const QImage plain = view.renderDisplay();
    view.box().setDrawPenStyle(1);
    view.box().DrawRectangle(0, 0, 30, 20);
    const int inverted = countDiffering(plain, view.renderDisplay());
    EXPECT_GT(inverted, 30);
    EXPECT_LT(inverted, 2 * 30 + 2 * 18);
}

TEST(ImageBoxView, FiguresFarBeyondTheViewAreDrawnOnlyWhereSeen) {
    ImageBoxView view;
    view.box().setImage(grey(40, 30));
    view.resize(40, 30);
    const QImage plain = view.renderDisplay();
    view.box().DrawRectangle(-1000000000, -1000000000, 1000000000, 1000000000);
    EXPECT_EQ(view.renderDisplay(), plain);
    view.box().DrawRectangle(-1000000000, -1000000000, 1000000000, 1000000000);
    view.box().DrawRectangle(-2000000000, 5, 2000000000, 10);
    EXPECT_EQ(countDiffering(plain, view.renderDisplay()), 80);
}

TEST(ImageBoxView, ShowsTheImageAtItsDisplaySizeAndIsItsContainer) {
    ImageBoxView view;
    view.box().setImage(grey(400, 200));
    view.box().setAutoZoom(true);
    view.resize(100, 100);
    view.show();
    EXPECT_EQ(view.box().Width(), 100);
    EXPECT_EQ(view.box().Height(), 100);
    EXPECT_EQ(view.renderDisplay().size(), QSize(100, 50));
    EXPECT_EQ(view.sizeHint(), QSize(100, 50));
}

TEST(ImageBoxView, PassesMouseEventsInDisplayPixels) {
    ImageBoxView view;
    view.box().setImage(grey(50, 50));
    view.resize(50, 50);
    view.show();
    QSignalSpy down(&view, &ImageBoxView::MouseDown);
    QSignalSpy up(&view, &ImageBoxView::MouseUp);
    QSignalSpy move(&view, &ImageBoxView::MouseMove);
    QSignalSpy dbl(&view, &ImageBoxView::DblClick);
    QTest::mousePress(&view, Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 9));
    QTest::mouseMove(&view, QPoint(12, 14));
    QTest::mouseRelease(&view, Qt::RightButton, Qt::ControlModifier, QPoint(12, 14));
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    ASSERT_GE(down.count(), 1);
    EXPECT_EQ(down.first(), (QList<QVariant>{1, 1, 7, 9}));
    ASSERT_GE(up.count(), 1);
    EXPECT_EQ(up.first(), (QList<QVariant>{2, 2, 12, 14}));
    ASSERT_GE(move.count(), 1);
    EXPECT_EQ(move.last().at(1).toInt(), 12);
    EXPECT_EQ(dbl.count(), 1);
}

TEST(ImageBoxView, DragWithASelectionToolBecomesTheSelectionInImagePixels) {
    for (bool redEye : {false, true}) {
        ImageBoxView view;
        view.box().setImage(grey(200, 100));
        view.box().setAutoZoom(true);
        view.resize(100, 50); // shown at half size
        view.show();
        if (redEye)
            view.box().BeginRedEyeSelection();
        else
            view.box().BeginRectangleSelection();
        QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, QPoint(30, 20));
        QTest::mouseMove(&view, QPoint(20, 10));
        QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
        ASSERT_TRUE(view.box().HasSelection());
        EXPECT_EQ(view.box().Selection().rect(), QRect(20, 10, 42, 32));
        view.box().ClearSelection();
        QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, QPoint(30, 20));
        QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
        EXPECT_FALSE(view.box().HasSelection()) << "without a tool a drag selects nothing";
    }
}

TEST(ImageBoxView, SelectedRegionFeedsRedEyeRemoval) {
    ImageBoxView view;
    QImage red(20, 20, QImage::Format_RGB888);
    red.fill(QColor(220, 20, 20));
    view.box().setImage(red);
    view.resize(20, 20);
    view.show();
    view.box().BeginRedEyeSelection();
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, QPoint(9, 18));
    view.box().RemoveRedEye();
    EXPECT_EQ(view.box().image().pixel(5, 5), qRgb(20, 20, 20));
    EXPECT_EQ(view.box().image().pixel(15, 5), qRgb(220, 20, 20));
}

TEST(ImageBoxView, TakesCursorNumbers) {
    ImageBoxView view;
    struct Row {
        int pointer;
        Qt::CursorShape shape;
    } rows[] = {{2, Qt::CrossCursor},    {3, Qt::IBeamCursor},     {5, Qt::SizeAllCursor},
                {6, Qt::SizeBDiagCursor}, {7, Qt::SizeVerCursor},  {8, Qt::SizeFDiagCursor},
                {9, Qt::SizeHorCursor},  {11, Qt::WaitCursor}};
    for (const Row& row : rows) {
        view.setMousePointer(row.pointer);
        EXPECT_EQ(view.MousePointer(), row.pointer);
        EXPECT_EQ(view.cursor().shape(), row.shape) << row.pointer;
    }
    view.setMousePointer(0);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    EXPECT_THROW(view.setMousePointer(16), AppError);
    EXPECT_EQ(view.MousePointer(), 0);
}

// A view painted larger than the reduced picture of a fitted load takes the full
// decode inside its paint; the box tells of it only afterwards, from the event
// loop, so no listener runs inside the paint.
TEST(ImageBoxView, APaintThatTakesTheFullDecodeTellsNoListenerWhilePainting) {
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    QImage photo(800, 600, QImage::Format_RGB888);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb((x * 7 + y) & 255, (y * 5) & 255, (x ^ y) & 255));
    ASSERT_TRUE(photo.save(path, "JPEG", 90));
    ImageBoxView view;
    view.resize(800, 600);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ImageBox& box = view.box();
    box.LoadFromFileForView(path, 100, 75);
    ASSERT_TRUE(box.LoadPending());
    QSignalSpy settled(&box, &ImageBox::loadSettled);
    bool painting = false;
    int toldWhilePainting = 0;
    QObject::connect(&box, &ImageBox::loadSettled, &view, [&] { toldWhilePainting += painting; });
    QObject::connect(&box, &ImageBox::displayChanged, &view, [&] { toldWhilePainting += painting; });
    painting = true;
    view.repaint();
    painting = false;
    EXPECT_FALSE(box.LoadPending()) << "the paint did not need the full image";
    EXPECT_EQ(settled.count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return settled.count() > 0; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(settled.count(), 1);
    EXPECT_EQ(toldWhilePainting, 0);
    EXPECT_EQ(box.SettledFile(), path);
}
