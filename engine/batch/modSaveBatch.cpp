#include "engine/batch/modSaveBatch.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/FreedMemory.h"
#include "core/Globals.h"
#include "core/RegularFile.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "engine/batch/BatchMemoryBudget.h"
#include "engine/batch/BatchRowJob.h"
#include "engine/batch/UnreadableRows.h"
#include "engine/batch/modNamingRules.h"
#include "engine/jpeg2000/modJPEG2000.h"
#include "engine/loading/LoadFailure.h"
#include "engine/loading/modBitmapPro.h"
#include "engine/tasks/FrameArtwork.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/edit/RowBands.h"
#include "platform/imagebox/meta/MetadataFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSet>
#include <QStringList>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <deque>
#include <limits>
#include <memory>

namespace picbasket {

namespace {

int g_rowsInFlight = 0;

int rowsInFlight() {
    if (g_rowsInFlight > 0)
        return g_rowsInFlight;
    return std::max(2, QThread::idealThreadCount() / 2);
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

// What one run shares between its rows. The task rows are a copy: jobs read them
// on other threads while the windows stay free to change the visible lists.
struct RunState {
    TaskRowList tasks;
    ImageBox& box;
    AxImage& control;
    QString extension;
    RunTargets targets;
    UnreadableRows unreadable;
    QSet<QString> sweptFolders; // output folders cleared of an earlier run's part files
};

// A started row: its order, its share of the memory budget, and its result once
// the job has finished.
struct PendingRow {
    BatchRowOrder order;
    int64_t estimate = 0;
    bool budgetGiven = false; // the job gave its share back when it ended
    BatchRowResult result;
    QSemaphore finished;

    bool done() const { return finished.available() > 0; }
};

// The rows started and not yet committed, in list order, and what they share.
struct Flight {
    explicit Flight(int64_t budgetBytes) : budget(budgetBytes) {}
    std::deque<std::shared_ptr<PendingRow>> rows;
    BatchMemoryBudget budget;
    std::atomic<int> working{0}; // jobs not yet ended
    QSemaphore jobEnded;         // a permit each time a job ends
};

// The loading entry reads what the image box does not. Its routes share one
// JPEG 2000 control and DevIL's one current image, and report their failures in
// windows, so they run here, on the window thread, before the row's job starts.
void loadThroughLoadPic(BatchRowOrder& order) {
    int32_t width = 0;
    int32_t height = 0;
    order.loadedAlready = true;
    order.picture =
        LoadPic(order.row.Tag, sizemode::Original, -1, -1, OleColor(0xFFFFFF), width, height);
    if (order.picture.isNull())
        order.unreadable = fncLoadFailureReason(order.row.Tag);
}

// The temporary names of a row's encode (BatchRowJob) and of the encoder's own
// file beside it. A run that was killed leaves them behind; nothing else makes
// names of this form.
bool isLeftoverPartFile(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\.row[0-9]+-[0-9a-f]{8}\\.part\\.(jp2|jpc)|\\.jp2-[0-9a-f]{8}\\.part)$"));
    return pattern.match(name).hasMatch();
}

// Removes the part files an earlier, killed run left in an output folder, the
// first time this run writes into it. Only regular files of our own pattern go.
void sweepLeftoverParts(const QString& folder, RunState& run) {
    if (run.sweptFolders.contains(folder))
        return;
    run.sweptFolders.insert(folder);
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : names)
        if (isLeftoverPartFile(name) && fncIsRegularFile(dir.filePath(name)))
            QFile::remove(dir.filePath(name));
}

// Everything of a row that is fixed when it starts, in list order: its folder,
// its generic name and counter, the naming clock, and the pictures of the
// loading entry.
BatchRowOrder orderFor(const BasketRow& row, int rowNumber, RunState& run) {
    const typBatchSave& options = Setup.BatchSave;
    BatchRowOrder order;
    order.row = row;
    order.rowNumber = rowNumber;
    order.folder = fncBatchOutputFolder(row);
    order.extension = run.extension;
    if (options.NameMode == 2)
        order.genericName = fncCleanNamePart(options.GenericName) +
                            QString::number(fncBatchCounter(options.Counter, rowNumber));
    order.clock = fncNamingNow();
    sweepLeftoverParts(order.folder, run);
    // A pipe, a device or a name gone is listed without being opened.
    order.unreadable = fncNotRegularFileReason(row.Tag);
    if (order.unreadable.isEmpty() && !run.box.ReadsFile(row.Tag))
        loadThroughLoadPic(order);
    return order;
}

// Lets events run (the wait dialog's Cancel among them) and says whether the
// user asked to stop.
bool cancelRequested() {
    QCoreApplication::processEvents();
    return CancelOperation;
}

// Waits for the row's job while the window keeps handling events.
void waitFor(PendingRow& pending) {
    while (!pending.finished.tryAcquire(1, 5))
        QCoreApplication::processEvents();
    pending.finished.release();
}

// Waits until some job ends (or a moment has passed) while the window keeps
// handling events.
void waitForAJob(Flight& flight) {
    if (!flight.jobEnded.tryAcquire(1, 5))
        QCoreApplication::processEvents();
}

// The row's share of the budget goes back once: when its job ended holding no
// picture, else when it is committed or dropped.
void giveBack(PendingRow& pending, Flight& flight) {
    if (!pending.budgetGiven)
        flight.budget.give(pending.estimate);
    pending.budgetGiven = true;
}

void startRow(BatchRowOrder order, int64_t estimate, const RunState& run, Flight& flight,
              QThreadPool* pool) {
    auto pending = std::make_shared<PendingRow>();
    pending->order = std::move(order);
    pending->estimate = estimate;
    flight.rows.push_back(pending);
    ++flight.working;
    auto job = [pending, &tasks = run.tasks, &flight] {
        // The job's copy of the order is the only holder of a loaded picture, so
        // that it is freed while the row is encoded.
        BatchRowOrder order = pending->order;
        pending->order.picture = QImage();
        pending->result = runBatchRow(std::move(order), tasks);
        // A finished row waits for its commit holding a temporary file only, unless
        // the commit may still have to encode its picture.
        if (pending->result.picture.isNull()) {
            flight.budget.give(pending->estimate);
            pending->budgetGiven = true;
        }
        --flight.working;
        pending->finished.release();
        flight.jobEnded.release();
    };
    if (!pool) {
        job();
        return;
    }
    // The rows in flight already share the cores: a job's edits stay on its thread.
    pool->start([job] {
        pixelops::EditThreadLimit limit(1);
        job();
    });
}

void moveOnto(const QString& temporary, const QString& target) {
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temporary);
        raiseError(err::DeviceIO, QStringLiteral("The file %1 could not be written").arg(target));
    }
}

// A row's failure is told with the name its output was to have: the one the
// same-name rule gives it here, not the name its job could guess.
[[noreturn]] void rethrowUnderFinalName(const BatchRowResult& result, const BatchRowOrder& order,
                                        const RunTargets& targets) {
    try {
        std::rethrow_exception(result.failure);
    } catch (const AppError& error) {
        if (result.failedTemporary.isEmpty())
            throw;
        const QString target = targets.unique(order.folder, result.baseName, order.extension);
        raiseError(error.number(),
                   QString(error.description()).replace(result.failedTemporary, target),
                   error.line());
    }
}

// Puts a finished row under its final name, in list order: the same-name rule
// and the overwrite rule are decided here, where every earlier row is settled.
void commitRow(PendingRow& pending, RunState& run) {
    BatchRowResult& result = pending.result;
    if (result.failure)
        rethrowUnderFinalName(result, pending.order, run.targets);
    if (!result.unreadable.isEmpty()) {
        run.unreadable.add(pending.order.row.Text, result.unreadable);
        return;
    }
    const QString target =
        run.targets.unique(pending.order.folder, result.baseName, pending.order.extension);
    // The job checked the name it chose; "_2" and the like can still make it too long.
    if (result.refused.isEmpty())
        result.refused = fncOutputNameProblem(target);
    if (!result.refused.isEmpty()) {
        if (!result.temporary.isEmpty())
            QFile::remove(result.temporary);
        run.unreadable.addRefused(pending.order.row.Text, result.refused);
        return;
    }
    if (fncFileExists(target) && Setup.BatchSave.Overwrite != 1) {
        if (!result.temporary.isEmpty())
            QFile::remove(result.temporary);
        return;
    }
    if (result.temporary.isEmpty()) {
        const int16_t rate = Setup.BatchSave.Lossy != 0 ? Setup.BatchSave.Rate : int16_t(25);
        subSaveJPEG2000(run.control, result.picture, target, rate, result.iccProfile, result.xDpi,
                        result.yDpi);
    } else {
        moveOnto(result.temporary, target);
    }
    run.targets.add(target);
}

// Rows that will not be committed: their jobs end, their files go.
void dropRows(Flight& flight) {
    for (const auto& row : flight.rows) {
        waitFor(*row);
        giveBack(*row, flight);
        if (!row->result.temporary.isEmpty())
            QFile::remove(row->result.temporary);
    }
    flight.rows.clear();
}

// Libraries with process-wide state are set up here, on the window thread,
// before any job can reach them.
void prepareLibraries(const RunState& run) {
    metadatafile::prepareForThreads();
    if (Setup.BatchSave.ProcessTasks == 1 && !run.tasks.isEmpty())
        FrameArtwork::current();
}

// Starts the next row when a core and its memory are free; false when it has to
// wait. The estimate is taken from the file's header before anything is loaded;
// a row the window thread loads is counted again by its picture.
bool startNextRow(const BasketRow& row, int rowNumber, RunState& run, Flight& flight,
                  QThreadPool* workers) {
    int64_t estimate = fncEstimateOfRow(row);
    if (!flight.budget.tryTake(estimate))
        return false;
    try {
        BatchRowOrder order = orderFor(row, rowNumber, run);
        if (order.loadedAlready && !order.picture.isNull()) {
            const int64_t loaded = fncEstimateOfLoadedRow(row, order.picture);
            flight.budget.give(estimate);
            flight.budget.take(loaded);
            estimate = loaded;
        }
        startRow(std::move(order), estimate, run, flight, workers);
    } catch (...) {
        flight.budget.give(estimate);
        throw;
    }
    return true;
}

// The row loop. Rows are started ahead in list order while cores and the memory
// budget allow, and committed in list order, so names, counters and skipped
// targets are those of converting one row after the other; with one row in
// flight that is what happens, on this thread. A finished row holds only its
// temporary file until its turn, so more rows may wait for their commit than
// work at once, and one slow row does not leave the cores idle.
void convertRows(const BasketRows& lvPages, RunState& run, ProgressIndicator& bar) {
    const int limit = rowsInFlight();
    const int queued = limit > 1 ? 2 * limit : 1;
    // Declared before the pool, so it outlives every job.
    Flight flight(fncBatchMemoryBudget());
    QThreadPool pool;
    pool.setMaxThreadCount(limit);
    QThreadPool* workers = limit > 1 ? &pool : nullptr;
    prepareLibraries(run);
    int next = 0;
    int committed = 0;
    try {
        // The row count is read again each time round: events run between rows.
        for (bool stop = false; !stop;) {
            while (!stop && next < lvPages.count() && int(flight.rows.size()) < queued &&
                   flight.working < limit) {
                if ((stop = cancelRequested()))
                    break;
                if (!startNextRow(lvPages.row(next), next + 1, run, flight, workers))
                    break;
                ++next;
            }
            if (stop || flight.rows.empty())
                break;
            PendingRow& front = *flight.rows.front();
            if (!front.done()) {
                waitForAJob(flight);
                continue;
            }
            if ((stop = cancelRequested()))
                break;
            commitRow(front, run);
            giveBack(front, flight);
            flight.rows.pop_front();
            bar.setValue(++committed);
        }
    } catch (...) {
        dropRows(flight);
        setLastBatchRunPeak({flight.budget.peakRows(), flight.budget.peakBytes()});
        throw;
    }
    dropRows(flight);
    setLastBatchRunPeak({flight.budget.peakRows(), flight.budget.peakBytes()});
    if (CancelOperation)
        CancelOperation = false;
}

bool g_running = false;

// Clears the running mark and hides the bar however the run ends.
struct RunScope {
    ProgressIndicator& bar;
    ~RunScope() {
        g_running = false;
        bar.setVisible(false);
        // The small blocks the rows' decodes and encodes left in the threads' arenas
        // stay with the process while the run lasts; the run gives them back here.
        returnFreedMemory();
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

int setBatchRowsInFlight(int rows) {
    std::swap(rows, g_rowsInFlight);
    return rows;
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
    RunState run{lvEditBatch, box, control, Setup.BatchSave.Codestream != 0 ? "jpc" : "jp2",
                 {},          {}};
    errorTail(QStringLiteral("fncSaveSinglePage"), [&] {
        g_running = true;
        RunScope scope{bar};
        CurrentActivity = QStringLiteral("Converting the image basket to JPEG 2000!");
        bar.setMaximum(lvPages.count());
        bar.setValue(0);
        bar.setVisible(true);
        convertRows(lvPages, run, bar);
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
