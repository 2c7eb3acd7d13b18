#include "editing/GeometryTasks.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/imagebox/ImageBox.h"

#include <QImage>

#include <QStringList>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// The seventeen slots as one list, for comparing a whole row at once.
QStringList slotTexts(const typTask& task) {
    QStringList list;
    for (int k = 1; k <= TaskParamCount; ++k)
        list << task.Param[size_t(k)];
    return list;
}

QStringList padded(QStringList first) {
    while (first.size() < TaskParamCount)
        first << QString();
    return first;
}

} // namespace

TEST(GeometryTasks, SlotsOfEachTask) {
    struct Case {
        const char* name;
        TaskBuild build;
        TaskType type;
        QStringList texts;
    };
    const OleColor system = 0x8000000Eu;
    const Case cases[] = {
        {"flip horizontal", fncFlipTask({false}), TaskType::Flip, {"0"}},
        {"flip vertical", fncFlipTask({true}), TaskType::Flip, {"1"}},
        {"rotate",
         fncRotateTask({"30", true, system}),
         TaskType::Rotate,
         {"True", "30", "-2147483634"}},
        {"resize by size",
         fncResizeTask({true, "640", "480", "50"}, 100, 50),
         TaskType::Resize,
         {"True", "640", "480"}},
        {"resize by percentage",
         fncResizeTask({false, "640", "480", "25"}, 100, 50),
         TaskType::Resize,
         {"False", "25"}},
        {"crop rectangle",
         fncCropKeyInTask({0, "1", "2", "30", "40", system}, 100, 50),
         TaskType::Crop,
         {"True", "0", "1", "2", "30", "40"}},
        {"crop ellipse",
         fncCropKeyInTask({1, "1", "2", "30", "40", 0x00030201u}, 100, 50),
         TaskType::Crop,
         {"True", "1", "1", "2", "30", "40", "197121"}},
        {"canvas",
         fncCanvasTask({system, "1", "2", "3", "4"}, 100, 50),
         TaskType::Canvas,
         {"-2147483634", "1", "2", "3", "4"}},
        {"invert", fncInvertTask(), TaskType::Invert, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.build.ok()) << c.build.error.toStdString();
        EXPECT_EQ(c.build.task.TaskID, int32_t(c.type));
        EXPECT_EQ(slotTexts(c.build.task), padded(c.texts));
    }
}

TEST(GeometryTasks, OutOfRangeValuesAreRefusedNamingTheBox) {
    struct Case {
        const char* name;
        TaskBuild build;
        const char* box;
    };
    const Case cases[] = {
        {"angle above 360", fncRotateTask({"361", false, 0}), "'Degrees'"},
        {"angle no number", fncRotateTask({"", false, 0}), "'Degrees'"},
        {"width zero", fncResizeTask({true, "0", "10", ""}, 100, 50), "'Width'"},
        {"height too long", fncResizeTask({true, "10", "99999999999", ""}, 100, 50), "'Height'"},
        {"side above 32767", fncResizeTask({true, "32768", "10", ""}, 100, 50), "'Width'"},
        {"too many pixels", fncResizeTask({true, "32767", "32767", ""}, 100, 50), "megapixels"},
        {"percent below one", fncResizeTask({false, "", "", "0.4"}, 100, 50), "'Enter percentage'"},
        {"percent empty", fncResizeTask({false, "", "", ""}, 100, 50), "'Enter percentage'"},
        {"percent too large", fncResizeTask({false, "", "", "30000"}, 2000, 2000), "megapixels"},
        {"crop past the image", fncCropKeyInTask({0, "0", "0", "101", "50", 0}, 100, 50),
         "'Right'"},
        {"crop empty", fncCropKeyInTask({0, "10", "0", "10", "50", 0}, 100, 50), "empty"},
        {"margin above 800", fncCanvasTask({0, "801", "0", "0", "0"}, 100, 50), "'X1'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.build.ok());
        EXPECT_TRUE(c.build.error.contains(QLatin1String(c.box))) << c.build.error.toStdString();
    }
}

TEST(GeometryTasks, PercentageIsReadAsAWholePercent) {
    // "12.5" is 12 percent to the task engine, so the preview shows 12 percent too.
    EXPECT_TRUE(fncResizeTask({false, "", "", "12.5"}, 100, 50).ok());
    EXPECT_TRUE(fncResizeTask({false, "", "", "1"}, 100, 50).ok());
}

TEST(GeometryTasks, RatioSideRoundsHalfToEven) {
    // typed, typed side at entry, other side at entry -> other side.
    const std::tuple<int64_t, int32_t, int32_t, int32_t> cases[] = {
        {800, 800, 600, 600}, {400, 800, 600, 300}, {0, 800, 600, 0},   {1, 2, 5, 2},
        {3, 2, 5, 8},         {10, 0, 600, 0},      {123, 100, 50, 62},
    };
    for (const auto& [typed, from, to, other] : cases)
        EXPECT_EQ(fncRatioSide(typed, from, to), other) << typed << " " << from << " " << to;
}

TEST(GeometryTasks, MouseCropOrdersAndClampsTheRectangle) {
    struct Case {
        const char* name;
        MouseCropOptions options;
        QStringList texts;
        QRect imageRect;
    };
    MouseCropOptions actual{};
    actual.imageWidth = 100;
    actual.imageHeight = 50;
    MouseCropOptions fitted = actual;
    fitted.fitted = true;
    fitted.displayWidth = 40;
    fitted.displayHeight = 20;
    fitted.controlWidth = 300;
    fitted.controlHeight = 200;
    auto at = [](MouseCropOptions o, int x1, int y1, int x2, int y2) {
        o.x1 = x1, o.y1 = y1, o.x2 = x2, o.y2 = y2;
        return o;
    };
    const Case cases[] = {
        {"1:1 drag to the upper left",
         at(actual, 60, 40, 10, 5),
         {"False", "10", "5", "60", "40"},
         QRect(10, 5, 50, 35)},
        {"1:1 past the edge",
         at(actual, 90, 45, 130, 70),
         {"False", "90", "45", "100", "50"},
         QRect(90, 45, 10, 5)},
        {"fitted",
         at(fitted, 4, 2, 20, 10),
         {"False", "4", "2", "20", "10", "300", "200"},
         QRect(10, 5, 40, 20)},
        // 2.5 x 1 = 2.5 rounds to 2, 7 x 2.5 = 17.5 rounds to 18.
        {"fitted halves",
         at(fitted, 1, 1, 7, 7),
         {"False", "1", "1", "7", "7", "300", "200"},
         QRect(QPoint(2, 2), QPoint(17, 17))},
        {"fitted past the edge",
         at(fitted, -5, -5, 50, 30),
         {"False", "0", "0", "40", "20", "300", "200"},
         QRect(0, 0, 100, 50)},
        // Stored in drag order: the last point before the first.
        {"fitted drag to the upper left",
         at(fitted, 20, 10, 4, 2),
         {"False", "20", "10", "4", "2", "300", "200"},
         QRect(10, 5, 40, 20)},
        {"fitted drag up and right past the edge",
         at(fitted, 4, 30, 60, 2),
         {"False", "4", "20", "40", "2", "300", "200"},
         QRect(10, 5, 90, 45)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MouseCrop crop = fncMouseCropTask(c.options);
        EXPECT_TRUE(crop.build.ok());
        EXPECT_EQ(slotTexts(crop.build.task), padded(c.texts));
        EXPECT_EQ(crop.imageRect, c.imageRect);
    }
    for (const MouseCropOptions& empty : {at(actual, 5, 5, 5, 5), at(actual, 5, 5, 30, 5),
                                          at(actual, 120, 5, 130, 30), MouseCropOptions{}})
        EXPECT_FALSE(fncMouseCropTask(empty).build.ok()) << empty.x1 << "," << empty.y1;
}

// The engine crops the same pixels whichever corner the drag began at: the stored drag
// order changes what a task file holds, not what the batch writes.
TEST(GeometryTasks, ADragInEitherDirectionCropsTheSamePixels) {
    QImage picture(600, 400, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    MouseCropOptions o;
    o.fitted = true;
    o.imageWidth = 600, o.imageHeight = 400;
    o.displayWidth = 300, o.displayHeight = 200;
    o.controlWidth = 300, o.controlHeight = 200;
    QImage results[2];
    const int drags[2][4] = {{4, 2, 20, 10}, {20, 10, 4, 2}};
    for (int i = 0; i < 2; ++i) {
        o.x1 = drags[i][0], o.y1 = drags[i][1], o.x2 = drags[i][2], o.y2 = drags[i][3];
        const MouseCrop crop = fncMouseCropTask(o);
        ASSERT_TRUE(crop.build.ok());
        ImageBox box;
        box.setImage(picture);
        subRunTask(crop.build.task, box);
        results[i] = box.image().convertToFormat(QImage::Format_RGB32);
    }
    // Display pixels 4..20 x 2..10 are image pixels 8..40 x 4..20.
    EXPECT_EQ(results[0].size(), QSize(32, 16));
    EXPECT_EQ(results[0], picture.copy(8, 4, 32, 16));
    EXPECT_EQ(results[1], results[0]);
}
