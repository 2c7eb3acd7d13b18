// The task engine: replays the executable task rows on one image box.
#include "engine/tasks/modTaskEngine.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "core/Globals.h"
#include "core/modFileSystem.h"
#include "engine/tasks/modFrames.h"
#include "platform/imagebox/ImageBox.h"

#include <QCoreApplication>
#include <QFont>
#include <exception>
#include <utility>

namespace picbasket {

namespace {

std::function<void(bool)>& busyCursorHook() {
    static std::function<void(bool)> hook;
    return hook;
}

// Thrown out of an operation whose failure must end the whole run.
struct EndRun {};

// Set while one task runs for a caller that wants its failures: every failure of
// an operation then reaches the caller unchanged.
thread_local bool strictRun = false;

// Runs one operation: a type mismatch or the unexpected failure of a member skips
// just this operation; any other failure ends the run.
template <typename Operation> void step(Operation&& operation) {
    if (strictRun) {
        operation();
        return;
    }
    try {
        operation();
    } catch (const AppError& error) {
        if (error.number() != err::TypeMismatch && error.number() != err::Unexpected)
            throw EndRun{};
    } catch (const std::exception&) {
        throw EndRun{};
    }
}

// The busy pointer for the length of a run, put back however the run ends.
class BusyCursor {
public:
    BusyCursor() { show(true); }
    ~BusyCursor() { show(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    static void show(bool busy) {
        if (busyCursorHook())
            busyCursorHook()(busy);
    }
};

// A 64-bit sum that must still fit the Long the box takes.
int32_t checkedSum(int64_t a, int64_t b) {
    const int64_t sum = a + b;
    if (sum < INT32_MIN || sum > INT32_MAX)
        raiseError(err::Overflow);
    return int32_t(sum);
}

// The left or top of a crop that adds a margin: the margin negated, in range.
int32_t negated(int32_t margin) {
    return checkedSum(0, -int64_t(margin));
}

uint32_t colour(const QString& text) {
    return uint32_t(cLng(text));
}

typTask taskOfRow(const TaskRow& row) {
    typTask task;
    try {
        task.TaskID = cLng(row.Text.trimmed());
    } catch (const AppError&) {
        task.TaskID = int32_t(TaskType::None);
    }
    task.TaskKey = row.Tag;
    for (int k = 1; k <= TaskParamCount; ++k)
        task.Param[k] = row.SubItems[k].trimmed();
    return task;
}

void runFlip(const typTask& t, ImageBox& box) {
    step([&] { box.Flip(t.Param[1] == QLatin1String("0") ? 0 : 1); });
}

void runRotate(const typTask& t, ImageBox& box) {
    step([&] { box.setBackgroundColor(colour(t.Param[3])); });
    step([&] { box.setRotateResample(cBool(t.Param[1])); });
    step([&] { box.Rotate(float(cInt(t.Param[2]))); });
}

void runResize(const typTask& t, ImageBox& box) {
    step([&] {
        if (cBool(t.Param[1]))
            box.ResizeTo(cLng(t.Param[2]), cLng(t.Param[3]));
        else
            box.ResizePercent(float(cInt(t.Param[2])));
    });
}

void runTone(const typTask& t, ImageBox& box, bool contrast) {
    step([&] {
        const int32_t amount = cLng(t.Param[1]);
        const bool r = cBool(t.Param[2]), g = cBool(t.Param[3]), b = cBool(t.Param[4]);
        if (contrast)
            box.Contrast(amount, r, g, b);
        else
            box.Brightness(amount, r, g, b);
    });
}

// A crop drawn with the mouse on a preview fitted into a P6 x P7 control: the
// stored corners are display pixels and are scaled back to image pixels.
void cropFromFittedPreview(const typTask& t, ImageBox& box) {
    box.setWidth(cLng(t.Param[6]));
    box.setHeight(cLng(t.Param[7]));
    box.setAutoZoom(true);
    const double dw = box.DisplayWidth(), dh = box.DisplayHeight();
    // A control that shows nothing gives no scale: division by zero ends the run.
    if (dw <= 0 || dh <= 0)
        raiseError(11);
    const double sx = box.ImageWidth() / dw, sy = box.ImageHeight() / dh;
    auto scaled = [](const QString& text, double scale) {
        return cLng(roundHalfEven(cDbl(text) * scale));
    };
    box.Crop(scaled(t.Param[2], sx), scaled(t.Param[3], sy), scaled(t.Param[4], sx),
             scaled(t.Param[5], sy));
}

void runCrop(const typTask& t, ImageBox& box) {
    CurrentActivity = QStringLiteral("Reading Crop task - '") + t.Param[1] + QLatin1Char('\'');
    step([&] {
        if (cBool(t.Param[1])) {
            const int32_t l = cLng(t.Param[3]), tp = cLng(t.Param[4]);
            const int32_t r = cLng(t.Param[5]), b = cLng(t.Param[6]);
            if (cInt(t.Param[2]) != 0) {
                box.setBackgroundColor(colour(t.Param[7]));
                box.SelectEllipse(l, tp, r, b);
            } else {
                box.SelectRectangle(l, tp, r, b);
            }
            box.setSelectionOnly(true);
            box.CropToSelection();
        } else if (t.Param[6].isEmpty() || t.Param[7].isEmpty()) {
            box.Crop(cLng(t.Param[2]), cLng(t.Param[3]), cLng(t.Param[4]), cLng(t.Param[5]));
        } else {
            cropFromFittedPreview(t, box);
        }
    });
}

void runWatermark(const typTask& t, ImageBox& box) {
    try {
        box.setMergeTransparent(cBool(t.Param[1]));
    } catch (const AppError&) {
        box.setMergeTransparent(false);
    }
    CurrentActivity = QStringLiteral("Reading Watermark value '") + t.Param[1] + QLatin1Char('\'');
    step([&] { box.setMergeTransparency(cInt(t.Param[2])); });
    step([&] { box.setMergeStyle(cInt(t.Param[3])); });
    step([&] {
        if (cInt(t.Param[3]) == 1) {
            step([&] { box.setMergeY(cLng(t.Param[6])); });
            step([&] { box.setMergeX(cLng(t.Param[7])); });
        }
    });
    if (box.MergeTransparent())
        step([&] { box.setMergeTransparentColor(colour(t.Param[5])); });
    step([&] {
        if (fncFileExists(t.Param[4]))
            box.MergeFile(t.Param[4]);
    });
}

void runFont(const typTask& t, ImageBox& box) {
    auto withFont = [&](auto change) {
        step([&] {
            QFont font = box.Font();
            change(font);
            box.setFont(font);
        });
    };
    withFont([&](QFont& f) { f.setFamily(t.Param[6]); });
    withFont([&](QFont& f) {
        const int16_t size = cInt(t.Param[7]);
        if (size <= 0)
            raiseError(err::Unexpected, QStringLiteral("A font size must be positive"));
        f.setPointSize(size);
    });
    withFont([&](QFont& f) { f.setBold(cBool(t.Param[8])); });
    withFont([&](QFont& f) { f.setItalic(cBool(t.Param[9])); });
    withFont([&](QFont& f) { f.setUnderline(cBool(t.Param[10])); });
}

void runText(const typTask& t, ImageBox& box) {
    step([&] { box.setTextAntiAlias(cBool(t.Param[1])); });
    step([&] { box.setTextTransparent(cBool(t.Param[3])); });
    step([&] { box.setTextAngle(cInt(t.Param[4])); });
    step([&] { box.setTextAlignment(cInt(t.Param[5])); });
    runFont(t, box);
    step([&] { box.setTextColor(colour(t.Param[11])); });
    step([&] { box.setTextBackColor(colour(t.Param[12])); });
    int32_t x = 0, y = 0;
    step([&] {
        const int16_t position = cInt(t.Param[14]);
        if (position == 9) {
            step([&] { x = cLng(t.Param[16]); });
            step([&] { y = cLng(t.Param[17]); });
        } else {
            subPlaceText(cByte(t.Param[13]), position, box, t.Param[15], x, y);
        }
    });
    step([&] { box.DrawText(x, y, t.Param[15]); });
}

void runCanvas(const typTask& t, ImageBox& box) {
    step([&] { box.setBackgroundColor(colour(t.Param[1])); });
    step([&] {
        box.Crop(negated(cLng(t.Param[2])), negated(cLng(t.Param[3])),
                 checkedSum(box.ImageWidth(), cLng(t.Param[4])),
                 checkedSum(box.ImageHeight(), cLng(t.Param[5])));
    });
}

void runFrame(const typTask& t, ImageBox& box) {
    step([&] { box.setMergeTransparent(false); });
    step([&] { box.setMergeTransparency(0); });
    step([&] { box.setBackgroundColor(colour(t.Param[1])); });
    step([&] {
        if (cByte(t.Param[2]) != 0) {
            const int32_t s = cLng(t.Param[3]);
            box.Crop(negated(s), negated(s), checkedSum(box.ImageWidth(), s),
                     checkedSum(box.ImageHeight(), s));
        } else {
            const int16_t style = cInt(t.Param[3]);
            subApplyFrame(style, box, cByte(t.Param[4]), style == 4);
        }
    });
}

void runMask(const typTask& t, ImageBox& box) {
    step([&] { box.setMergeTransparentColor(0); });
    step([&] { box.setMergeTransparent(cBool(t.Param[1])); });
    step([&] { box.setMergeTransparency(cInt(t.Param[2])); });
    step([&] { box.setMergeStyle(1); });
    step([&] { box.setMergeX(0); });
    step([&] { box.setMergeY(0); });
    step([&] { subApplyMask(cInt(t.Param[3]), box); });
    if (box.MergeTransparent())
        step([&] { box.Blur(2); });
}

void runShadow(const typTask& t, ImageBox& box) {
    step([&] { box.setMergeTransparency(0); });
    step([&] { subApplyFrame(int16_t(cInt(t.Param[1]) + 8), box, 1, false); });
}

void runTask(const typTask& t, ImageBox& box) {
    switch (TaskType(t.TaskID)) {
    case TaskType::Flip:
        runFlip(t, box);
        break;
    case TaskType::Rotate:
        runRotate(t, box);
        break;
    case TaskType::Resize:
        runResize(t, box);
        break;
    case TaskType::Blur:
        step([&] { box.Blur(cLng(t.Param[1])); });
        break;
    case TaskType::Contrast:
        runTone(t, box, true);
        break;
    case TaskType::Brightness:
        runTone(t, box, false);
        break;
    case TaskType::Sharpen:
        step([&] { box.Sharpen(cLng(t.Param[1])); });
        break;
    case TaskType::Crop:
        runCrop(t, box);
        break;
    case TaskType::Watermark:
        runWatermark(t, box);
        break;
    case TaskType::Text:
        runText(t, box);
        break;
    case TaskType::Invert:
        step([&] { box.Invert(); });
        break;
    case TaskType::Canvas:
        runCanvas(t, box);
        break;
    case TaskType::Frame:
        runFrame(t, box);
        break;
    case TaskType::Mask:
        runMask(t, box);
        break;
    case TaskType::Shadow:
        runShadow(t, box);
        break;
    default:
        break;
    }
}

const TaskListSelection* stopList(const TaskListSelection* lvEdit,
                                  const TaskListSelection* lvEditPreview) {
    if (ActiveTaskList == 0)
        return lvEdit;
    if (ActiveTaskList == 1)
        return lvEditPreview;
    return nullptr;
}

} // namespace

void setTaskBusyCursorHook(std::function<void(bool busy)> hook) {
    busyCursorHook() = std::move(hook);
}

void subRunTask(const typTask& task, ImageBox& box) {
    struct Strict {
        bool previous = std::exchange(strictRun, true);
        ~Strict() { strictRun = previous; }
    } strict;
    runTask(task, box);
}

void fncRunTaskRows(const TaskRowList& rows, ImageBox& box) {
    try {
        for (const TaskRow& row : rows.rows())
            runTask(taskOfRow(row), box);
    } catch (...) {
        // As in subProcessPages: a failure outside the skippable kinds ends the run.
    }
}

void subProcessPages(const TaskListSelection* lvEdit, const TaskRowList& lvEditBatch, ImageBox& box,
                     const TaskListSelection* lvEditPreview, bool noStop) {
    CurrentActivity = QStringLiteral("Processing all available tasks in the basket");
    if (lvEditBatch.isEmpty())
        return;
    BusyCursor busy;
    const TaskListSelection* stop = noStop ? nullptr : stopList(lvEdit, lvEditPreview);
    try {
        for (int i = 0; i < lvEditBatch.rowCount(); ++i) {
            QCoreApplication::processEvents();
            const TaskRow& row = lvEditBatch.row(i);
            CurrentActivity =
                QStringLiteral("Processing task ID - '") + row.Text + QLatin1Char('\'');
            runTask(taskOfRow(row), box);
            if (stop && stop->isRowSelected(i))
                break;
        }
    } catch (...) {
        // A failure outside the skippable kinds ends the run without a message.
    }
}

} // namespace picbasket
