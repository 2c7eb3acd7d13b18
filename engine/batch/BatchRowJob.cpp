#include "engine/batch/BatchRowJob.h"

#include "core/AppError.h"
#include "core/FreedMemory.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "engine/batch/modNamingRules.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/jp2/AxImage.h"

#include <utility>
#ifdef __GLIBC__
#endif

namespace picbasket {

namespace {

// Loads the page file into the box; returns why it could not, or an empty text.
// The window thread sent the file here because the image box reads its format,
// so a refusal means the file is damaged and no other loader may make a picture
// of the cut data.
QString loadIntoBox(ImageBox& box, const QString& path) {
    try {
        box.setPageIndex(1);
        box.LoadFromFile(path);
        return {};
    } catch (const AppError& error) {
        if (error.number() != err::Unexpected)
            throw;
        return error.description();
    }
}

QString hybridName(ImageBox& box, const BatchRowOrder& order) {
    const typBatchSave& options = Setup.BatchSave;
    const QString& source = order.row.Tag;
    const QString prefix =
        fncRetrieveNamingString(box, options.Prefix, source, order.extension, order.clock);
    const QString suffix =
        fncRetrieveNamingString(box, options.Suffix, source, order.extension, order.clock);
    return prefix + fncGetSeparator(options.Separator1) + fncCleanNamePart(order.row.Text) +
           fncGetSeparator(options.Separator2) + suffix;
}

QString baseName(ImageBox& box, const BatchRowOrder& order) {
    if (!order.genericName.isEmpty())
        return order.genericName;
    if (Setup.BatchSave.NameMode == 1)
        return hybridName(box, order);
    return fncCleanNamePart(order.row.Text);
}

// A name beside the target that no other row of the run uses and that no user
// would pick; it keeps the target's extension, which the encoder goes by.
QString temporaryName(const BatchRowOrder& order, const QString& base) {
    return order.folder + "." + base + ".row" + QString::number(order.rowNumber) + ".part." +
           order.extension;
}

// The row's picture goes to the control, which lets go of it once the encoder
// has read it: while the codestream is made (the longest part of a row, beside
// the other rows in flight) the row holds only the encoder's own copy.
void encode(const BatchRowOrder& order, BatchRowResult& result) {
    const typBatchSave& options = Setup.BatchSave;
    const int16_t rate = options.Lossy != 0 ? options.Rate : int16_t(25);
    AxImage control;
    const QString temporary = temporaryName(order, result.baseName);
    try {
        control.SetBitmapHandle(std::exchange(result.picture, QImage()));
        control.Refresh();
        control.SetCompressionRate(rate);
        control.SetColourProfile(result.iccProfile);
        control.SetCaptureResolution(result.xDpi, result.yDpi);
        control.SaveFileAndRelease(temporary, control.FormatFromExtension(order.extension));
    } catch (const AppError& error) {
        // The user knows the file by its final name, not by the temporary one.
        const QString target = order.folder + result.baseName + "." + order.extension;
        raiseError(error.number(), QString(error.description()).replace(temporary, target));
    }
    result.temporary = temporary;
}

// Loads, edits and names the row in a box of its own; false when the file could
// not be read. The box goes when this returns, so only result.picture holds the
// pixels.
bool prepare(const BatchRowOrder& order, const TaskRowList& tasks, BatchRowResult& result) {
    ImageBox box;
    if (order.loadedAlready)
        box.setBitmapHandle(order.picture);
    else
        result.unreadable = loadIntoBox(box, order.row.Tag);
    if (!result.unreadable.isEmpty())
        return false;
    box.setTag(QString::number(box.ImageWidth()) + "x" + QString::number(box.ImageHeight()));
    if (Setup.BatchSave.ProcessTasks == 1)
        fncRunTaskRows(tasks, box);
    result.baseName = baseName(box, order);
    result.picture = box.Picture();
    // The pixels stay in the source's colour space, so its profile goes with them.
    result.iccProfile = box.IccProfile();
    box.CaptureResolution(result.xDpi, result.yDpi);
    return true;
}

// Holds one place of the encode gate while it lives (none without a gate).
class GatePlace {
public:
    explicit GatePlace(QSemaphore* gate) : gate_(gate) {
        if (gate_)
            gate_->acquire();
    }
    ~GatePlace() {
        if (gate_)
            gate_->release();
    }
    GatePlace(const GatePlace&) = delete;
    GatePlace& operator=(const GatePlace&) = delete;

private:
    QSemaphore* gate_;
};

void convert(const BatchRowOrder& order, const TaskRowList& tasks, BatchRowResult& result,
             QSemaphore* encodeGate) {
    if (!prepare(order, tasks, result))
        return;
    // The decoder's buffers are freed now; a row that waits at the encode gate
    // should hold its picture only, not their pages too.
    returnFreedMemory();
    const QString target = order.folder + result.baseName + "." + order.extension;
    if (!(fncFileExists(target) && Setup.BatchSave.Overwrite != 1)) {
        GatePlace place(encodeGate);
        encode(order, result);
    }
}

} // namespace

BatchRowResult runBatchRow(const BatchRowOrder& order, const TaskRowList& tasks,
                           QSemaphore* encodeGate) {
    BatchRowResult result;
    result.unreadable = order.unreadable;
    if (!result.unreadable.isEmpty())
        return result;
    try {
        convert(order, tasks, result, encodeGate);
    } catch (...) {
        result.failure = std::current_exception();
    }
    return result;
}

} // namespace picbasket
