#include "engine/batch/BatchRowJob.h"

#include "core/AppError.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "engine/batch/modNamingRules.h"
#include "engine/loading/LoadFailure.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/jp2/AxImage.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <utility>

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
        // What happened to the file (gone since the run began, damaged) is told
        // from the file; the box's words are said when the file looks sound.
        return fncLoadFailureReason(path, error.description());
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

QString chosenName(ImageBox& box, const BatchRowOrder& order) {
    if (!order.genericName.isEmpty())
        return order.genericName;
    if (Setup.BatchSave.NameMode == 1)
        return hybridName(box, order);
    return fncCleanNamePart(order.row.Text);
}

QString baseName(ImageBox& box, const BatchRowOrder& order) {
    return fncVisibleStem(chosenName(box, order));
}

// A short hidden name beside the target that no other row of the run uses and
// that no user would pick. Its length does not depend on the target's, so a target
// name near the file system's limit is written too.
QString temporaryName(const BatchRowOrder& order) {
    const quint32 tag = QRandomGenerator::global()->generate();
    return order.folder +
           QStringLiteral(".row%1-%2.part.")
               .arg(order.rowNumber)
               .arg(tag, 8, 16, QLatin1Char('0')) +
           order.extension;
}

// The row's picture goes to the control, which lets go of it once the encoder
// has read it: while the codestream is made (the longest part of a row, beside
// the other rows in flight) the row holds only the encoder's own copy.
void encode(const BatchRowOrder& order, BatchRowResult& result) {
    const typBatchSave& options = Setup.BatchSave;
    const int16_t rate = options.Lossy != 0 ? options.Rate : int16_t(25);
    AxImage control;
    const QString temporary = temporaryName(order);
    try {
        control.SetBitmapHandle(std::exchange(result.picture, QImage()));
        control.Refresh();
        control.SetCompressionRate(rate);
        control.SetColourProfile(result.iccProfile);
        control.SetCaptureResolution(result.xDpi, result.yDpi);
        control.SaveFileAndRelease(temporary, control.FormatFromExtension(order.extension));
    } catch (const AppError&) {
        // The user knows the file by its final name, which only the commit knows
        // (the same-name rule may add "_2"); it puts that name in place of this one.
        result.failedTemporary = temporary;
        throw;
    }
    result.temporary = temporary;
}

// Loads, edits and names the row in a box of its own; false when the file could
// not be read. The box goes when this returns, so only result.picture holds the
// pixels.
bool prepare(BatchRowOrder& order, const TaskRowList& tasks, BatchRowResult& result) {
    ImageBox box;
    if (order.loadedAlready)
        box.setBitmapHandle(std::exchange(order.picture, QImage()));
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

void convert(BatchRowOrder& order, const TaskRowList& tasks, BatchRowResult& result) {
    if (!prepare(order, tasks, result))
        return;
    const QString target = order.folder + result.baseName + "." + order.extension;
    result.refused = fncOutputNameProblem(target);
    if (!result.refused.isEmpty()) {
        result.picture = QImage();
        return;
    }
    if (!(fncFileExists(target) && Setup.BatchSave.Overwrite != 1))
        encode(order, result);
}

} // namespace

QString fncOutputNameProblem(const QString& path) {
    // The limits of Linux's file systems (NAME_MAX and PATH_MAX), in encoded bytes.
    constexpr qsizetype maxNameBytes = 255;
    constexpr qsizetype maxPathBytes = 4095;
    const qsizetype name = QFile::encodeName(QFileInfo(path).fileName()).size();
    if (name > maxNameBytes)
        return QStringLiteral("the output name would be %1 bytes long, and a file name holds "
                              "at most %2")
            .arg(name)
            .arg(maxNameBytes);
    const qsizetype whole = QFile::encodeName(path).size();
    if (whole > maxPathBytes)
        return QStringLiteral("the output path would be %1 bytes long, and a path holds at "
                              "most %2")
            .arg(whole)
            .arg(maxPathBytes);
    return {};
}

BatchRowResult runBatchRow(BatchRowOrder order, const TaskRowList& tasks) {
    BatchRowResult result;
    result.unreadable = order.unreadable;
    if (!result.unreadable.isEmpty())
        return result;
    try {
        convert(order, tasks, result);
    } catch (...) {
        result.failure = std::current_exception();
    }
    return result;
}

} // namespace picbasket
