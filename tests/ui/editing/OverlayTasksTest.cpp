#include "editing/EffectTasks.h"
#include "editing/OverlayTasks.h"
#include "engine/tasks/modFrames.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"

#include <QFile>
#include <QFont>
#include <gtest/gtest.h>
#include <cmath>

using namespace picbasket;

namespace {

int even(double v) {
    return int(std::nearbyint(v));
}

TextOptions textAt(int position, bool vertical, int alignment) {
    TextOptions o;
    o.family = QStringLiteral("DejaVu Sans");
    o.size = QStringLiteral("20");
    o.text = QStringLiteral("Sample");
    o.position = position;
    o.vertical = vertical;
    o.alignment = alignment;
    o.angle = QStringLiteral("33");
    return o;
}

} // namespace

// Every place on a 400 x 300 image, worked out from the text's measures by hand
// (W = 400, H = 300, tw and th in the chosen font).
TEST(OverlayTasksTest, TextPlacesFollowTheGridOrientationAndAlignment) {
    ImageBox measure;
    QFont font = measure.Font();
    font.setFamily(QStringLiteral("DejaVu Sans"));
    font.setPointSize(20);
    measure.setFont(font);
    const double tw = measure.TextWidth(QStringLiteral("Sample"));
    const double th = measure.TextHeight(QStringLiteral("Sample"));
    const double W = 400, H = 300;
    struct Case {
        int p;
        bool vertical;
        int a;
        int x, y;
    };
    const Case cases[] = {
        {0, false, 0, 0, 0},
        {4, false, 1, 200, even((H - th) / 2)},
        {4, false, 0, even((W - tw) / 2), even((H - th) / 2)},
        {8, false, 0, int(W - tw), int(H - th)},
        {8, false, 2, 400, int(H - th)},
        {2, false, 1, even(W - tw / 2), 0},
        {3, false, 2, int(tw), even((H - th) / 2)},
        {7, false, 2, even((tw + W) / 2), int(H - th)},
        {0, true, 0, int(th), 0},
        {4, true, 2, even((th + W) / 2), even((H - tw) / 2)},
        {8, true, 1, 400, int(H - tw)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "p " << c.p << " vertical " << c.vertical << " a " << c.a);
        const TaskBuild build = fncTextTask(textAt(c.p, c.vertical, c.a), {400, 300, 400, 300});
        ASSERT_TRUE(build.ok()) << build.error.toStdString();
        const typTask& t = build.task;
        EXPECT_EQ(t.Param[16], QString::number(c.x));
        EXPECT_EQ(t.Param[17], QString::number(c.y));
        EXPECT_EQ(t.Param[13], c.vertical ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_EQ(t.Param[4], c.vertical ? QStringLiteral("-90") : QStringLiteral("0"));
        EXPECT_EQ(t.Param[5], QString::number(c.vertical ? 0 : c.a));
        EXPECT_EQ(t.Param[14], QString::number(c.p));
        // The engine's own placement agrees.
        int32_t x = -1, y = -1;
        subPlaceTextIn(c.vertical ? 1 : 0, int16_t(c.p), c.vertical ? 0 : c.a, W, H, tw, th, x, y);
        EXPECT_EQ(QString::number(x), t.Param[16]);
        EXPECT_EQ(QString::number(y), t.Param[17]);
    }
}

TEST(OverlayTasksTest, PickedTextPointIsConvertedAndLiftedByHalfTheSize) {
    TextOptions o = textAt(9, true, 2);
    o.pointX = 101;
    o.pointY = 50;
    // Shown at half size: (101, 50) is (202, 100) in the image, lifted by 20 / 2.
    const TaskBuild build = fncTextTask(o, {400, 300, 200, 150});
    ASSERT_TRUE(build.ok());
    EXPECT_EQ(build.task.Param[16], QStringLiteral("202"));
    EXPECT_EQ(build.task.Param[17], QStringLiteral("90"));
    EXPECT_EQ(build.task.Param[4], QStringLiteral("33"));
    EXPECT_EQ(build.task.Param[13], QStringLiteral("0"));
    EXPECT_EQ(build.task.Param[5], QStringLiteral("0"));
    // The same options give the same point again: nothing accumulates.
    EXPECT_EQ(fncTextTask(o, {400, 300, 200, 150}).task.Param, build.task.Param);
}

TEST(OverlayTasksTest, BadFontSizesAndAnglesAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "0"}, {"", "0"}, {"201", "0"}, {"x", "0"}, {"12", "181"}, {"12", ""}};
    for (const auto& [size, angle] : cases) {
        TextOptions o = textAt(9, false, 0);
        o.size = QString::fromLatin1(size);
        o.angle = QString::fromLatin1(angle);
        EXPECT_FALSE(fncTextTask(o, {400, 300, 400, 300}).ok()) << size << " " << angle;
    }
    TextOptions grid = textAt(4, false, 0);
    grid.angle = QStringLiteral("999");
    EXPECT_TRUE(fncTextTask(grid, {400, 300, 400, 300}).ok()) << "the angle serves the picked point only";
}

TEST(OverlayTasksTest, WatermarkStylesAndThePickedPoint) {
    WatermarkOptions o;
    o.file = QStringLiteral("/logo.png");
    o.pointX = 100;
    o.pointY = 50;
    o.currentStyle = 3;
    o.transparency = 40;
    o.transparentColor = 0x00FFFFFF;
    const std::pair<const char*, const char*> styles[] = {
        {"Single", "1"}, {"Centre", "0"}, {"Tile", "2"}, {"Wrap", "3"}, {"Other", "3"}};
    for (const auto& [text, slot] : styles) {
        o.styleText = QString::fromLatin1(text);
        const typTask t = fncWatermarkTask(o, {400, 200, 200, 100}).task;
        EXPECT_EQ(t.Param[3], QLatin1String(slot)) << text;
        EXPECT_EQ(t.Param[1], QStringLiteral("True"));
        EXPECT_EQ(t.Param[2], QStringLiteral("40"));
        EXPECT_EQ(t.Param[4], QStringLiteral("/logo.png"));
        EXPECT_EQ(t.Param[5], QStringLiteral("16777215"));
    }
    o.styleText = QStringLiteral("Single");
    const typTask single = fncWatermarkTask(o, {400, 200, 200, 100}).task;
    EXPECT_EQ(single.Param[6], QStringLiteral("100"));
    EXPECT_EQ(single.Param[7], QStringLiteral("200"));
}

TEST(OverlayTasksTest, WatermarkFileProblems) {
    test::TempAppFolder folder;
    const QString broken = folder.file(QStringLiteral("broken.png"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG\r\n\x1a\nnot really");
    file.close();
    const QString good = folder.file(QStringLiteral("good.png"));
    QImage(8, 8, QImage::Format_RGB32).save(good);
    EXPECT_EQ(fncWatermarkFileProblem(QString()), WatermarkFileProblem::NoFile);
    EXPECT_EQ(fncWatermarkFileProblem(folder.file(QStringLiteral("gone.png"))),
              WatermarkFileProblem::Missing);
    EXPECT_EQ(fncWatermarkFileProblem(broken), WatermarkFileProblem::Undecodable);
    EXPECT_EQ(fncWatermarkFileProblem(good), WatermarkFileProblem::None);
}

TEST(EffectTasksTest, SlotsOfFramesShadowsTonesAndMasks) {
    const typTask frame = fncFrameTask({false, 3, true, QStringLiteral("20"), 0x0000FF}, 300, 200).task;
    EXPECT_EQ(frame.Param[2], QStringLiteral("1"));
    EXPECT_EQ(frame.Param[3], QStringLiteral("20"));
    EXPECT_TRUE(frame.Param[4].isEmpty());
    EXPECT_EQ(frame.Param[1], QStringLiteral("255"));
    const typTask picture = fncFrameTask({true, 3, false, QStringLiteral("20"), 0}, 300, 200).task;
    EXPECT_EQ(picture.Param[2], QStringLiteral("0"));
    EXPECT_EQ(picture.Param[3], QStringLiteral("3"));
    EXPECT_EQ(picture.Param[4], QStringLiteral("0"));
    EXPECT_FALSE(fncFrameTask({false, 0, true, QStringLiteral("801"), 0}, 300, 200).ok());
    EXPECT_EQ(fncShadowTask(8).task.Param[1], QStringLiteral("0"));
    EXPECT_EQ(fncShadowTask(15).task.Param[1], QStringLiteral("7"));
    const typTask contrast = fncContrastTask({70, true, false, true}).task;
    EXPECT_EQ(contrast.Param[1], QStringLiteral("70"));
    EXPECT_EQ(contrast.Param[2], QStringLiteral("1"));
    EXPECT_EQ(contrast.Param[3], QStringLiteral("0"));
    EXPECT_EQ(contrast.Param[4], QStringLiteral("1"));
    const typTask mask = fncMaskTask({false, 30, 5}).task;
    EXPECT_EQ(mask.Param[1], QStringLiteral("False"));
    EXPECT_EQ(mask.Param[2], QStringLiteral("30"));
    EXPECT_EQ(mask.Param[3], QStringLiteral("5"));
}

TEST(EffectTasksTest, ShadowCanvasTakesTheColourTheBatchBoxHolds) {
    TaskRowList rows;
    EXPECT_EQ(fncBackColorAfterRows(rows), ImageBox().BackgroundColor());
    typTask canvas;
    canvas.TaskID = int32_t(TaskType::Canvas);
    canvas.Param[1] = QStringLiteral("255");
    rows.addTask(canvas);
    typTask blur;
    blur.TaskID = int32_t(TaskType::Blur);
    blur.Param[1] = QStringLiteral("3");
    rows.addTask(blur);
    EXPECT_EQ(fncBackColorAfterRows(rows), 255u);
    typTask rectangle;
    rectangle.TaskID = int32_t(TaskType::Crop);
    rectangle.Param[1] = QStringLiteral("True");
    rectangle.Param[2] = QStringLiteral("0");
    rows.addTask(rectangle);
    EXPECT_EQ(fncBackColorAfterRows(rows), 255u) << "a rectangle crop sets no colour";
    typTask ellipse = rectangle;
    ellipse.Param[2] = QStringLiteral("1");
    ellipse.Param[7] = QStringLiteral("65280");
    rows.addTask(ellipse);
    EXPECT_EQ(fncBackColorAfterRows(rows), 65280u);
}
