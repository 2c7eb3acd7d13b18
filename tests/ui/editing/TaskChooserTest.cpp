#include "editing/TaskChooser.h"
#include "editing/TaskIcons.h"
#include "engine/tasks/TaskType.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(TaskChooser, SixteenItemsInChooserOrder) {
    struct Row {
        const char *key, *caption, *icon;
        TaskType task;
        const char *panel, *dialog;
    };
    const Row expected[] = {
        {"Resize", "Resize", "resize", TaskType::Resize, "picResize", "Task Option - Resize"},
        {"Canvas", "Canvas", "canvas", TaskType::Canvas, "picCanvas", "Task Option - Canvas"},
        {"Crop", "Crop", "crop", TaskType::Crop, "picCrop", "Task Option - Crop"},
        {"Rotate", "Rotate", "rotate", TaskType::Rotate, "picRotate", "Task Option - Rotate"},
        {"Flip", "Flip", "flip", TaskType::Flip, "picFlip", "Task Option - Flip"},
        {"Invert", "Invert", "invert", TaskType::Invert, "picNothing", "Task Option - Invert"},
        {"Contrast", "Contrast", "contrast", TaskType::Contrast, "picContrast",
         "Task Option - Contrast"},
        {"Sharpen", "Sharpen", "sharpen", TaskType::Sharpen, "picSharpen", "Task Option - Sharpen"},
        {"Blur", "Blur", "blur", TaskType::Blur, "picBlur", "Task Option - Blur"},
        {"Brightness", "Brightness", "brightness", TaskType::Brightness, "picBrightness",
         "Task Option - Brightness"},
        {"Text", "Text", "text", TaskType::Text, "picText", "Task Option - Add Text"},
        {"Watermark", "Watermark/Merge", "watermark", TaskType::Watermark, "picWatermark",
         "Task Option - Watermark/merge"},
        {"Mask", "Mask", "mask", TaskType::Mask, "picMask", "Task Option - Mask"},
        {"Shadow", "Shadow", "shadow", TaskType::Shadow, "picShadow", "Task Option - Shadow"},
        {"Frame", "Frame", "frame", TaskType::Frame, "picFrame", "Task Option - Frame"},
        {"RedEye", "Red-Eye Correction", "RedEye", TaskType::RedEye, "picRedEye",
         "Red-Eye Correction"},
    };
    const auto& items = fncTaskChooserItems();
    ASSERT_EQ(items.size(), std::size(expected));
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(expected[i].key);
        EXPECT_EQ(items[i].key, QLatin1String(expected[i].key));
        EXPECT_EQ(items[i].caption, QLatin1String(expected[i].caption));
        EXPECT_EQ(items[i].iconKey, QLatin1String(expected[i].icon));
        EXPECT_EQ(items[i].taskId, int32_t(expected[i].task));
        EXPECT_EQ(items[i].panel, QLatin1String(expected[i].panel));
        EXPECT_EQ(items[i].dialogCaption, QLatin1String(expected[i].dialog));
        EXPECT_TRUE(fncTaskPanelNames().end() != std::find(fncTaskPanelNames().begin(),
                                                           fncTaskPanelNames().end(),
                                                           items[i].panel));
        // Every icon the chooser asks for is drawn.
        EXPECT_FALSE(fncTaskIcon(items[i].iconKey).isNull());
    }
}

TEST(TaskChooser, LookupIsExactCaseAndKnowsNothing) {
    ASSERT_NE(fncFindChooserItem(QStringLiteral("RedEye")), nullptr);
    EXPECT_EQ(fncFindChooserItem(QStringLiteral("redeye")), nullptr);
    EXPECT_EQ(fncFindChooserItem(QStringLiteral("resize")), nullptr);
    EXPECT_EQ(fncFindChooserItem(QStringLiteral("Unknown")), nullptr);
    const TaskChooserItem* nothing = fncFindChooserItem(QStringLiteral("Nothing"));
    ASSERT_NE(nothing, nullptr);
    EXPECT_EQ(nothing->taskId, -1);
    EXPECT_EQ(nothing->panel, QStringLiteral("picNothing"));
    EXPECT_EQ(nothing->dialogCaption, QStringLiteral("Options"));
}

TEST(TaskIcons, SixteenKeyedIconsInImageListOrder) {
    const QStringList expected{"crop",     "resize",  "rotate", "flip",       "canvas", "invert",
                               "contrast", "sharpen", "blur",   "brightness", "text",   "watermark",
                               "mask",     "shadow",  "frame",  "RedEye"};
    EXPECT_EQ(fncTaskIconKeys(), expected);
    QSet<QByteArray> distinct;
    for (const QString& key : expected) {
        const QImage icon = fncTaskIcon(key);
        EXPECT_EQ(icon.size(), QSize(16, 16)) << key.toStdString();
        distinct.insert(
            QByteArray(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes()));
    }
    // No two tasks share a picture.
    EXPECT_EQ(distinct.size(), expected.size());
    EXPECT_TRUE(fncTaskIcon(QStringLiteral("redeye")).isNull());
    EXPECT_EQ(fncTaskChartPicture().size(), QSize(32, 32));
}
