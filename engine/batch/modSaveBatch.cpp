#include "engine/batch/modSaveBatch.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "engine/batch/UnreadableRows.h"
#include "engine/batch/modNamingRules.h"
#include "engine/jpeg2000/modJPEG2000.h"
#include "engine/loading/modBitmapPro.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/imagebox/ImageBox.h"

#include <QCoreApplication>
#include <QSet>
#include <QStringList>
#include <limits>

namespace picbasket {

namespace {

// Loads the picture through the loading entry; a reason when it reads none.
QString loadThroughLoadPic(ImageBox& box, const QString& path) {
    int32_t width = 0;
    int32_t height = 0;
    const QImage picture =
        LoadPic(path, sizemode::Original, -1, -1, OleColor(0xFFFFFF), width, height);
    if (picture.isNull())
        return QStringLiteral("no loader of the program reads it");
    box.setBitmapHandle(picture);
    return {};
}

// Loads the page file into the emptied box; returns why it could not, or an empty
// text. A file in a format the image box reads is the box's alone: when the box
// refuses it, the file is damaged and no other loader may make a picture of the
// cut data. Every other file goes through the loading entry.
QString loadRow(ImageBox& box, const QString& path) {
    box.Clear();
    box.DeleteAllExif();
    box.DeleteAllIptc();
    if (!box.ReadsFile(path))
        return loadThroughLoadPic(box, path);
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

QString hybridName(ImageBox& box, const BasketRow& row, const QString& extension) {
    const typBatchSave& options = Setup.BatchSave;
    const QString prefix = fncRetrieveNamingString(box, options.Prefix, row.Tag, extension);
    const QString suffix = fncRetrieveNamingString(box, options.Suffix, row.Tag, extension);
    return prefix + fncGetSeparator(options.Separator1) + fncCleanNamePart(row.Text) +
           fncGetSeparator(options.Separator2) + suffix;
}

// The output file name of the row'th row (from 1) without folder and extension.
QString baseName(ImageBox& box, const BasketRow& row, int rowNumber, const QString& extension) {
    const typBatchSave& options = Setup.BatchSave;
    switch (options.NameMode) {
    case 1:
        return hybridName(box, row, extension);
    case 2:
        return fncCleanNamePart(options.GenericName) +
               QString::number(fncBatchCounter(options.Counter, rowNumber));
    default:
        return fncCleanNamePart(row.Text);
    }
}

// The targets one run has written, so that a later row of the same name gets
// "_2", "_3", ... before the extension instead of replacing an output of the run.
class RunTargets {
public:
    QString unique(const QString& folder, const QString& base, const QString& extension) const {
        QString target = folder + base + "." + extension;
        for (int n = 2; written_.contains(target); ++n)
            target = folder + base + "_" + QString::number(n) + "." + extension;
        return target;
    }
    void add(const QString& target) { written_.insert(target); }

private:
    QSet<QString> written_;
};

// What one run shares between its rows.
struct RunState {
    const TaskRowList& tasks;
    ImageBox& box;
    AxImage& control;
    QString extension;
    RunTargets targets;
    UnreadableRows unreadable;
};

// Converts one row; a row that cannot be loaded is noted for the closing message,
// and one whose target existed before the run is passed over without overwriting.
void convertRow(const BasketRow& row, int rowNumber, RunState& run) {
    const typBatchSave& options = Setup.BatchSave;
    ImageBox& box = run.box;
    const QString folder = fncBatchOutputFolder(row);
    const QString reason = loadRow(box, row.Tag);
    if (!reason.isEmpty()) {
        run.unreadable.add(row.Text, reason);
        return;
    }
    box.setTag(QString::number(box.ImageWidth()) + "x" + QString::number(box.ImageHeight()));
    if (options.ProcessTasks == 1)
        subProcessPages(nullptr, run.tasks, box, nullptr, true);
    const QString target =
        run.targets.unique(folder, baseName(box, row, rowNumber, run.extension), run.extension);
    if (fncFileExists(target) && options.Overwrite != 1)
        return;
    const int16_t rate = options.Lossy != 0 ? options.Rate : int16_t(25);
    subSaveJPEG2000(run.control, box.Picture(), target, rate);
    run.targets.add(target);
}

bool g_running = false;

// Clears the running mark and hides the bar however the run ends.
struct RunScope {
    ProgressIndicator& bar;
    ~RunScope() {
        g_running = false;
        bar.setVisible(false);
    }
};

} // namespace

QString fncBatchOutputFolder(const BasketRow& row) {
    const typBatchSave& options = Setup.BatchSave;
    QString folder;
    if (options.DestinationMode != 0) {
        folder = options.DestinationFolder.trimmed();
        if (folder.isEmpty())
            raiseError(err::InvalidProcedureCall, QStringLiteral("No destination folder is set"));
    } else {
        const QString source = row.SubItem(4).trimmed();
        folder = fncGetFolderFromPath(source.isEmpty() ? row.Tag : source);
    }
    return subAddBackslash(folder);
}

int32_t fncBatchCounter(const QString& counter, int row) {
    int64_t first = 1;
    if (counter == QLatin1String("[Starting 1001]"))
        first = 1001;
    else if (counter != QLatin1String("[Starting 1]"))
        first = cLng(counter);
    const int64_t n = first + row - 1;
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        raiseError(err::Overflow, QStringLiteral("The file counter passes %1").arg(INT32_MAX));
    return int32_t(n);
}

bool fncSaveSinglePage(const BasketRows& lvPages, const TaskRowList& lvEditBatch, ImageBox& box,
                       ProgressIndicator& bar, AxImage& control) {
    if (g_running) {
        subGlobalErrorHandler(QStringLiteral("A batch conversion is already running"),
                              err::InvalidProcedureCall, 0, QStringLiteral("fncSaveSinglePage"));
        return false;
    }
    if (lvPages.count() == 0)
        return true;
    bool result = false;
    RunState run{lvEditBatch, box, control, {}, {}, {}};
    errorTail(QStringLiteral("fncSaveSinglePage"), [&] {
        g_running = true;
        RunScope scope{bar};
        CurrentActivity = QStringLiteral("Converting the image basket to JPEG 2000!");
        bar.setMaximum(lvPages.count());
        bar.setValue(0);
        bar.setVisible(true);
        run.extension = Setup.BatchSave.Codestream != 0 ? "jpc" : "jp2";
        // The row count is read again each time round: events run between rows.
        for (int i = 0; i < lvPages.count(); ++i) {
            QCoreApplication::processEvents();
            if (CancelOperation) {
                CancelOperation = false;
                break;
            }
            const BasketRow row = lvPages.row(i);
            convertRow(row, i + 1, run);
            bar.setValue(i + 1);
        }
        result = true;
    });
    // One closing message however the run ended, after any error of the run.
    run.unreadable.report();
    return result;
}

bool fncConvertBasket(const BasketRows& lvPages, const TaskRowList& lvEditBatch, ImageBox& box,
                      WaitIndicator& wait, AxImage& control) {
    wait.showWaiting();
    const bool result = fncSaveSinglePage(lvPages, lvEditBatch, box, wait.progress(), control);
    wait.closeWaiting();
    return result;
}

} // namespace picbasket
