#include "core/AppError.h"
#include "core/Globals.h"
#include "engine/tasks/FrameArtwork.h"
#include "engine/tasks/modFrames.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/engine/tasks/TaskTestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace picbasket;
using picbasket::test::FakeTaskList;
using picbasket::test::patternImage;
using picbasket::test::ScopedArtwork;
using picbasket::test::solid;
using picbasket::test::taskRow;

namespace {

class TaskEngine : public ::testing::Test {
protected:
    void SetUp() override {
        box.setImage(patternImage(8, 6));
        ActiveTaskList = 0;
        setTaskBusyCursorHook([this](bool busy) { cursorCalls.push_back(busy); });
    }
    void TearDown() override {
        setTaskBusyCursorHook({});
        ActiveTaskList = 0;
    }

    void run(std::initializer_list<TaskRow> rows) {
        TaskRowList list;
        for (const TaskRow& row : rows)
            list.addRow(row);
        subProcessPages(nullptr, list, box, nullptr, true);
    }

    ImageBox box;
    std::vector<bool> cursorCalls;
};

// A canvas row that adds one column on the right: the width counts the rows run.
TaskRow oneColumn() {
    return taskRow("12", {"0", "0", "0", "1", "0"});
}

QImage expected(const QImage& start, const std::function<void(ImageBox&)>& edit) {
    ImageBox reference;
    reference.setImage(start);
    edit(reference);
    return reference.image();
}

} // namespace

TEST_F(TaskEngine, AnEmptyListOnlySetsTheActivity) {
    CurrentActivity = QStringLiteral("before");
    const QImage before = box.image();
    run({});
    EXPECT_EQ(CurrentActivity, QStringLiteral("Processing all available tasks in the basket"));
    EXPECT_TRUE(cursorCalls.empty());
    EXPECT_EQ(box.image(), before);
}

TEST_F(TaskEngine, ShowsTheBusyPointerForARunAndNamesTheLastRow) {
    run({taskRow(" 11 "), taskRow("16")});
    EXPECT_EQ(cursorCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(CurrentActivity, QStringLiteral("Processing task ID - '16'"));
}

TEST_F(TaskEngine, LetsEventsRunBeforeEachRow) {
    QString seenByEvent;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { seenByEvent = CurrentActivity; }, Qt::QueuedConnection);
    run({taskRow("11")});
    EXPECT_EQ(seenByEvent, QStringLiteral("Processing all available tasks in the basket"));
}

// Each single-step task does exactly what the box member it names does.
TEST_F(TaskEngine, SingleStepTasksMatchTheirMembers) {
    struct Case {
        const char* name;
        TaskRow row;
        std::function<void(ImageBox&)> edit;
    };
    const Case cases[] = {
        {"flip 0", taskRow("1", {"0"}), [](ImageBox& b) { b.Flip(0); }},
        {"flip 1", taskRow("1", {"1"}), [](ImageBox& b) { b.Flip(1); }},
        {"flip other", taskRow("1", {"x"}), [](ImageBox& b) { b.Flip(1); }},
        {"resize to", taskRow("3", {"True", "5", "3"}), [](ImageBox& b) { b.ResizeTo(5, 3); }},
        {"resize percent", taskRow("3", {"False", "50", ""}),
         [](ImageBox& b) { b.ResizePercent(50); }},
        {"blur", taskRow("4", {"3"}), [](ImageBox& b) { b.Blur(3); }},
        {"contrast", taskRow("5", {"80", "1", "0", "1"}),
         [](ImageBox& b) { b.Contrast(80, true, false, true); }},
        {"brightness", taskRow("6", {"20", "False", "True", "0"}),
         [](ImageBox& b) { b.Brightness(20, false, true, false); }},
        {"sharpen", taskRow("7", {" 4 "}), [](ImageBox& b) { b.Sharpen(4); }},
        {"invert", taskRow("11"), [](ImageBox& b) { b.Invert(); }},
        {"rotate", taskRow("2", {"False", "90", "255"}),
         [](ImageBox& b) {
             b.setBackgroundColor(255);
             b.setRotateResample(false);
             b.Rotate(90);
         }},
        {"canvas", taskRow("12", {"65280", "1", "2", "3", "4"}),
         [](ImageBox& b) {
             b.setBackgroundColor(65280);
             b.Crop(-1, -2, 8 + 3, 6 + 4);
         }},
        {"system colour stored as a negative number",
         taskRow("12", {"-2147483643", "1", "1", "1", "1"}),
         [](ImageBox& b) {
             b.setBackgroundColor(0x80000005u);
             b.Crop(-1, -1, 9, 7);
         }},
        {"colour frame", taskRow("13", {"255", "1", "2", ""}),
         [](ImageBox& b) {
             b.setBackgroundColor(255);
             b.Crop(-2, -2, 10, 8);
         }},
        {"key-in rectangle crop", taskRow("8", {"True", "0", "1", "1", "6", "4", ""}),
         [](ImageBox& b) { b.Crop(1, 1, 6, 4); }},
        {"key-in ellipse crop", taskRow("8", {"True", "1", "0", "0", "8", "6", "16711680"}),
         [](ImageBox& b) {
             b.setBackgroundColor(16711680);
             b.SelectEllipse(0, 0, 8, 6);
             b.CropToSelection();
         }},
        {"mouse crop in image pixels", taskRow("8", {"False", "1", "2", "5", "4", "", ""}),
         [](ImageBox& b) { b.Crop(1, 2, 5, 4); }},
    };
    for (const Case& c : cases) {
        box.setImage(patternImage(8, 6));
        run({c.row});
        EXPECT_EQ(box.image(), expected(patternImage(8, 6), c.edit)) << c.name;
    }
}

TEST_F(TaskEngine, AMouseCropOnAFittedPreviewIsScaledBackToImagePixels) {
    box.setImage(patternImage(40, 20));
    // The preview was 20 x 10 control pixels, half the image: the stored corners
    // (drag order, not sorted) double.
    run({taskRow("8", {"False", "7", "4", "2", "1", "20", "10"})});
    EXPECT_EQ(box.image(), patternImage(40, 20).copy(4, 2, 10, 6));
}

TEST_F(TaskEngine, TextAtTheClickedPositionLandsOnTheStoredPixelWhateverTheZoom) {
    const QStringList params = {"False", "True", "True",  "0",     "0",   "DejaVu Sans",
                                "12",    "True", "False", "False", "255", "0",
                                "0",     "9",    "Hi",    "40",    "12"};
    box.setImage(solid(120, 60, qRgb(255, 255, 255)));
    box.setZoom(300);
    run({taskRow("10", params)});
    const QImage drawn = expected(solid(120, 60, qRgb(255, 255, 255)), [](ImageBox& b) {
        QFont font = b.Font();
        font.setFamily(QStringLiteral("DejaVu Sans"));
        font.setPointSize(12);
        font.setBold(true);
        b.setFont(font);
        b.setTextAntiAlias(false);
        b.setTextColor(255);
        b.DrawText(40, 12, QStringLiteral("Hi"));
    });
    EXPECT_EQ(box.image(), drawn);
    EXPECT_NE(box.image(),
              solid(120, 60, qRgb(255, 255, 255)).convertToFormat(box.image().format()));
}

TEST_F(TaskEngine, TextOnTheGridUsesThePlacement) {
    QStringList params = {"True",  "True",  "True", "0", "2", "DejaVu Sans", "10",  "False",
                          "False", "False", "0",    "0", "0", "8",           "Text"};
    box.setImage(solid(100, 50, qRgb(255, 255, 255)));
    run({taskRow("10", params)});
    const QImage drawn = expected(solid(100, 50, qRgb(255, 255, 255)), [](ImageBox& b) {
        QFont font = b.Font();
        font.setFamily(QStringLiteral("DejaVu Sans"));
        font.setPointSize(10);
        b.setFont(font);
        b.setTextAlignment(2);
        int32_t x = -1, y = -1;
        subPlaceText(0, 8, b, QStringLiteral("Text"), x, y);
        EXPECT_EQ(x, 100);
        b.DrawText(x, y, QStringLiteral("Text"));
    });
    EXPECT_EQ(box.image(), drawn);
}

TEST_F(TaskEngine, ARotateWithoutANumberSetsColourAndResamplingAndTheNextRowRuns) {
    box.setBackgroundColor(0);
    box.setRotateResample(true);
    run({taskRow("2", {"False", "ninety", "255"}), taskRow("11")});
    EXPECT_EQ(box.BackgroundColor(), 255u);
    EXPECT_FALSE(box.RotateResample());
    EXPECT_EQ(box.image(), expected(patternImage(8, 6), [](ImageBox& b) { b.Invert(); }));
}

TEST_F(TaskEngine, TheUnexpectedFailureOfAMemberSkipsOnlyThatOperation) {
    // MergeStyle 7 and a transparency of 200 are refused by the box; the run goes on.
    run({taskRow("9", {"False", "200", "7", "/no/such/file.png", "0", "0", "0"}), taskRow("11")});
    EXPECT_EQ(box.image(), expected(patternImage(8, 6), [](ImageBox& b) { b.Invert(); }));
}

TEST_F(TaskEngine, AnyOtherFailureEndsTheRunSilently) {
    // A margin beyond the Long range overflows: the rest of the run is dropped.
    run({taskRow("12", {"0", "0", "0", "99999999999", "0"}), taskRow("11"), oneColumn()});
    EXPECT_EQ(box.image(), patternImage(8, 6).convertToFormat(box.image().format()));
    EXPECT_EQ(cursorCalls, (std::vector<bool>{true, false}));
}

TEST_F(TaskEngine, RowsThatAreNoRunnableTaskChangeNothing) {
    run({taskRow("16"), taskRow("abc"), taskRow("0"), taskRow("99"), taskRow("")});
    EXPECT_EQ(box.image(), patternImage(8, 6).convertToFormat(box.image().format()));
}

TEST_F(TaskEngine, TheStopRuleEndsAfterTheSelectedRowOfTheActiveList) {
    struct Case {
        const char* name;
        int32_t activeList;
        std::set<int> explorerSelection, editSelection;
        bool noStop;
        int rowsRun;
    };
    const Case cases[] = {
        {"third row of the explorer list", 0, {2}, {}, false, 3},
        {"second row of the edit list", 1, {0}, {1}, false, 2},
        {"first of two selected rows", 0, {3, 1}, {}, false, 2},
        {"no selection runs to the end", 0, {}, {0}, false, 4},
        {"no list named", 2, {0}, {0}, false, 4},
        {"noStop ignores the selection", 0, {0}, {0}, true, 4},
    };
    for (const Case& c : cases) {
        box.setImage(patternImage(8, 6));
        ActiveTaskList = c.activeList;
        FakeTaskList lvEdit(c.explorerSelection), lvEditPreview(c.editSelection);
        TaskRowList rows;
        for (int i = 0; i < 4; ++i)
            rows.addRow(oneColumn());
        subProcessPages(&lvEdit, rows, box, &lvEditPreview, c.noStop);
        EXPECT_EQ(box.ImageWidth(), 8 + c.rowsRun) << c.name;
    }
}

TEST_F(TaskEngine, TheStopRuleAppliesToARowThatRunsNothing) {
    ActiveTaskList = 0;
    FakeTaskList lvEdit({1});
    TaskRowList rows;
    rows.addRow(oneColumn());
    rows.addRow(taskRow("16"));
    rows.addRow(oneColumn());
    subProcessPages(&lvEdit, rows, box, nullptr, false);
    EXPECT_EQ(box.ImageWidth(), 9);
}

TEST_F(TaskEngine, AWatermarkIsStampedAtTheStoredPositionWhenItsFileExists) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mark.png"));
    ASSERT_TRUE(solid(2, 2, qRgb(0, 0, 255)).save(path));
    box.setImage(solid(8, 6, qRgb(255, 255, 255)));
    // P6 is y, P7 is x.
    run({taskRow("9", {"False", "0", "1", path, "0", "3", "5", "False"})});
    EXPECT_EQ(box.PixelColor(5, 3), 0x00FF0000u);
    EXPECT_EQ(box.PixelColor(6, 4), 0x00FF0000u);
    EXPECT_EQ(box.PixelColor(4, 3), 0x00FFFFFFu);
    EXPECT_EQ(box.MergeX(), 5);
    EXPECT_EQ(box.MergeY(), 3);

    box.setImage(solid(8, 6, qRgb(255, 255, 255)));
    const QImage before = box.image();
    run({taskRow("9",
                 {"False", "0", "1", dir.filePath(QStringLiteral("gone.png")), "0", "3", "5"})});
    EXPECT_EQ(box.image(), before);
}

TEST_F(TaskEngine, AWatermarkWithoutATruthTextIsNotTransparent) {
    box.setMergeTransparent(true);
    run({taskRow("9", {"maybe", "0", "0", "", "255"})});
    EXPECT_FALSE(box.MergeTransparent());
    EXPECT_EQ(box.MergeTransparentColor(), 0u);
    EXPECT_EQ(CurrentActivity, QStringLiteral("Reading Watermark value 'maybe'"));
}

namespace {

// Two-colour masks: red on the left half, blue on the right.
FrameArtwork maskArtwork() {
    FrameArtwork art;
    QImage mask(2, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, qRgb(255, 0, 0));
    mask.setPixel(1, 0, qRgb(0, 0, 255));
    art.Mask = {solid(8, 6, qRgb(0, 0, 0)), mask};
    return art;
}

} // namespace

TEST_F(TaskEngine, AMaskIsResizedToTheImageAndStampedOverIt) {
    ScopedArtwork artwork(maskArtwork());
    box.setImage(patternImage(40, 20));
    run({taskRow("14", {"False", "0", "1"})});
    EXPECT_EQ(box.PixelColor(0, 0), 0x000000FFu);
    EXPECT_EQ(box.PixelColor(39, 19), 0x00FF0000u);
    EXPECT_EQ(box.MergeStyle(), 1);
}

TEST_F(TaskEngine, ATransparentMaskKeepsTheImageUnderItsBlackAndIsBlurred) {
    ScopedArtwork artwork(maskArtwork());
    // Mask 0 is black all over and of the image's size: nothing of it shows, and
    // the blur that follows a transparent mask is all that changes the image.
    run({taskRow("14", {"True", "0", "0"})});
    EXPECT_EQ(box.image(), expected(patternImage(8, 6), [](ImageBox& b) { b.Blur(2); }));

    box.setImage(patternImage(8, 6));
    run({taskRow("14", {"False", "100", "0"})});
    EXPECT_EQ(box.image(), patternImage(8, 6).convertToFormat(box.image().format()));
}

TEST_F(TaskEngine, FrameAndShadowTasksDrawTheirStyleOnAGrownCanvas) {
    FrameArtwork art;
    const QImage piece = solid(3, 3, qRgb(10, 20, 30));
    for (auto* pieces : {&art.pTop_left, &art.pTop_middle, &art.pTop_right, &art.pleft, &art.pRight,
                         &art.pBottom_left, &art.pBottom_middle, &art.pBottom_right})
        pieces->assign(10, piece);
    ScopedArtwork artwork(std::move(art));
    run({taskRow("13", {"0", "0", "1", "1"})});
    EXPECT_EQ(box.ImageWidth(), 8 + 3 + 3 - 2);
    EXPECT_EQ(box.ImageHeight(), 6 + 3 + 3 - 2);
    box.setImage(patternImage(8, 6));
    run({taskRow("13", {"0", "0", "1", "0"})});
    EXPECT_EQ(box.ImageWidth(), 8);
    EXPECT_EQ(box.PixelColor(0, 0), 0x001E140Au);
    box.setImage(patternImage(8, 6));
    run({taskRow("15", {"1"})});
    EXPECT_EQ(box.ImageWidth(), 12);
    // Style 4 frames need the corner pieces, which this store lacks: the frame is
    // skipped and the image stays as it was.
    box.setImage(patternImage(8, 6));
    run({taskRow("13", {"0", "0", "4", "1"})});
    EXPECT_EQ(box.ImageWidth(), 8);
}

TEST_F(TaskEngine, OneTaskRunForAPreviewReportsWhatARowRunSkips) {
    // Resize to 0 x 5: the box refuses it. A row run skips it; a single task run
    // lets the caller see it, and the image stays as it was.
    typTask task;
    task.TaskID = int32_t(TaskType::Resize);
    task.Param[1] = QStringLiteral("True");
    task.Param[2] = QStringLiteral("0");
    task.Param[3] = QStringLiteral("5");
    const QImage before = box.image();
    run({TaskRow::fromTask(task), oneColumn()});
    EXPECT_EQ(box.ImageWidth(), before.width() + 1) << "the row after the failed one ran";

    box.setImage(before);
    EXPECT_THROW(subRunTask(task, box), AppError);
    EXPECT_EQ(box.image(), before);

    // The same entry runs a good task exactly as its row does.
    task.Param[2] = QStringLiteral("4");
    subRunTask(task, box);
    EXPECT_EQ(box.image(), expected(before, [](ImageBox& b) { b.Resize(4, 5); }));
}
