// The batch JPEG 2000 conversion of a basket of 12 generated 6-megapixel JPEG files,
// at rate 20 (12:1) and lossless, against grk_compress converting a folder of the
// same images (-y) at the same ratio, and against the batch converting one row
// after the other, in the same run. grk_compress reads no JPEG, so it gets the
// images as PPM files: its time has no JPEG decoding in it, ours has. Best of two
// runs each; ratios below 1.0 mean the pipelined batch is faster.
//
// The peak resident memory of a pipelined batch over the whole folder is measured
// in a child process of its own (getrusage), against grk_compress's on one image
// (all images have the same size) times the rows in flight. BENCH_ROWS_IN_FLIGHT=n
// measures another number of rows in flight; `batch --memory` prints the memory
// lines alone. A basket of four 48-megapixel photos shows the memory budget: its
// peak with the rows the budget lets run at once, with the rows the cores alone
// would allow, and one row at a time.
//
// `batch --freed` measures what the run's one give-back at its end returns: the
// resident memory of a child process after each committed row, at the end of the run
// before the give-back and after it, and the bytes the C library holds free at the
// end, for the 6-megapixel and the 48-megapixel basket, one row at a time and the
// default rows in flight, with the C library's default (sliding) mmap threshold and
// with a fixed 128 KiB one (GLIBC_TUNABLES), which returns every large block to the
// system when it is freed.
#include "bench/BenchSupport.h"
#include "core/setup/modSetup.h"
#include "engine/batch/BatchMemoryBudget.h"
#include "engine/batch/modSaveBatch.h"
#include "platform/imagebox/ImageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

using namespace picbasket;
using namespace picbasket::bench;

namespace {

constexpr int width = 3000, height = 2000, files = 12, runs = 2;

class NoBar : public ProgressIndicator {
public:
    void setMaximum(int) override {}
    void setValue(int) override {}
    void setVisible(bool) override {}
};

qint64 folderBytes(const QString& folder) {
    qint64 total = 0;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files))
        total += info.size();
    return total;
}

long peakKilobytes(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

void fillBasket(BasketRows& rows, const QString& folder) {
    for (const QFileInfo& info : QDir(folder).entryInfoList({"*.jpg"}, QDir::Files, QDir::Name)) {
        BasketRow row;
        row.Text = info.completeBaseName();
        row.Tag = info.filePath();
        row.setSubItem(4, info.filePath());
        rows.addRow(row);
    }
}

// The resident kilobytes of this process now.
long residentKilobytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().simplified().split(' ');
    return fields.value(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

// The bytes the C library holds free for later requests, in every arena.
long freeHeldKilobytes() {
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return long(info.fordblks / 1024);
#else
    return -1;
#endif
}

// Samples the resident memory at each committed row and at the end of the run, just
// before the run gives its freed pages back.
class ResidentBar : public ProgressIndicator {
public:
    void setMaximum(int) override {}
    void setValue(int value) override {
        if (value > 0)
            afterRow.push_back(residentKilobytes());
    }
    void setVisible(bool visible) override {
        if (!visible && !afterRow.empty()) {
            atEnd = residentKilobytes();
            freeAtEnd = freeHeldKilobytes();
        }
    }
    std::vector<long> afterRow;
    long atEnd = -1;
    long freeAtEnd = -1;
};

bool convert(const BasketRows& rows, const QString& destination, int rate,
             ProgressIndicator* progress = nullptr) {
    typBatchSave& options = picbasket::Setup.BatchSave;
    options.DestinationMode = 1;
    options.DestinationFolder = destination;
    options.NameMode = 0;
    options.Overwrite = 1;
    options.ProcessTasks = 0;
    options.Codestream = 0;
    options.Lossy = rate == 25 ? 0 : 1;
    options.Rate = int16_t(rate);
    ImageBox box;
    NoBar bar;
    TaskRowList tasks;
    return fncSaveSinglePage(rows, tasks, box, progress ? *progress : bar);
}

QStringList grkRatio(int rate) {
    return rate == 25 ? QStringList{} : QStringList{"-I", "-r", "12"};
}

// Child modes: print the peak resident kilobytes of one measured job.
int childMain(const QStringList& args) {
    if (args.value(1) == "--rss-batch") {
        if (const int n = qEnvironmentVariableIntValue("BENCH_ROWS_IN_FLIGHT"); n > 0)
            setBatchRowsInFlight(n);
        BasketRows rows;
        fillBasket(rows, args.value(2));
        ResidentBar bar;
        const long before = residentKilobytes();
        QElapsedTimer clock;
        clock.start();
        const bool ok = convert(rows, args.value(3), 20, &bar);
        const double seconds = clock.nsecsElapsed() / 1e9;
        const long after = residentKilobytes();
        // before, at the end before the give-back, after it, free held at the end,
        // seconds, the peak, then the resident memory after each row.
        std::printf("%ld %ld %ld %ld %.3f %ld", ok ? before : -1L, bar.atEnd, after,
                    bar.freeAtEnd, seconds, peakKilobytes(RUSAGE_SELF));
        for (long k : bar.afterRow)
            std::printf(" %ld", k);
        std::printf("\n");
        return 0;
    }
    if (args.value(1) == "--peak-batch") {
        // BENCH_ROWS_IN_FLIGHT=n measures another number of rows in flight.
        if (const int n = qEnvironmentVariableIntValue("BENCH_ROWS_IN_FLIGHT"); n > 0)
            setBatchRowsInFlight(n);
        // BENCH_MEMORY_BUDGET=bytes another budget (a huge one: the cores alone).
        if (const qint64 bytes = qEnvironmentVariable("BENCH_MEMORY_BUDGET").toLongLong();
            bytes > 0)
            setBatchMemoryBudget(bytes);
        BasketRows rows;
        fillBasket(rows, args.value(2));
        // BENCH_RATE=25 the lossless run (for a profiler).
        const int rate = qEnvironmentVariableIntValue("BENCH_RATE");
        const bool ok = convert(rows, args.value(3), rate >= 1 && rate <= 25 ? rate : 20);
        std::printf("%ld %d\n", ok ? peakKilobytes(RUSAGE_SELF) : -1L, fncLastBatchRunPeak().rows);
    } else {
        const bool ok = runTool(
            "grk_compress", QStringList{"-i", args.value(2), "-o", args.value(3)} + grkRatio(20));
        std::printf("%ld\n", ok ? peakKilobytes(RUSAGE_CHILDREN) : -1L);
    }
    return 0;
}

// The peak kilobytes of a child run, and (for a batch) the most rows it had at once.
struct ChildPeak {
    long kilobytes = -1;
    int rows = 0;
};

ChildPeak childPeak(const QStringList& args, const QStringList& environment = {}) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : environment)
        env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForFinished(1800000) || child.exitCode() != 0)
        return {};
    const QStringList fields =
        QString::fromLatin1(child.readAllStandardOutput()).simplified().split(' ');
    return {fields.value(0).toLong(), fields.value(1).toInt()};
}

// Four 48-megapixel photos converted with the memory budget, with the cores alone
// bounding the rows, and one row at a time.
void printBudgetMemory(const QDir& root) {
    root.mkpath("big");
    root.mkpath("bigout");
    const QString first = root.filePath("big/big1.jpg");
    if (!photoLikeImage(8000, 6000, 7).save(first, "JPEG", 90)) {
        std::printf("  48-megapixel basket: could not write the photos\n");
        return;
    }
    for (int i = 2; i <= 4; ++i)
        QFile::copy(first, root.filePath(QStringLiteral("big/big%1.jpg").arg(i)));
    const QStringList args{"--peak-batch", root.filePath("big"), root.filePath("bigout")};
    const ChildPeak budget = childPeak(args);
    const ChildPeak cores = childPeak(args, {"BENCH_MEMORY_BUDGET=1000000000000000"});
    const ChildPeak one = childPeak(args, {"BENCH_ROWS_IN_FLIGHT=1"});
    if (budget.kilobytes < 0 || cores.kilobytes < 0 || one.kilobytes < 0) {
        std::printf("  48-megapixel basket: failed\n");
        return;
    }
    std::printf("  basket of 4 photos of 8000 x 6000, budget %lld MiB: %ld MiB with the budget "
                "(%d rows at once), %ld MiB by cores alone (%d rows), %ld MiB one row at a time  "
                "ratio %.2f (budget / one row)\n",
                static_cast<long long>(fncBatchMemoryBudget() >> 20), budget.kilobytes / 1024,
                budget.rows, cores.kilobytes / 1024, cores.rows, one.kilobytes / 1024,
                double(budget.kilobytes) / double(one.kilobytes));
}

// What the run's give-back at its end returns, for one basket.
void printFreedMemory(const QString& what, const QString& folder, const QString& out) {
    const QString rowsInFlight = QString::number(std::max(2, QThread::idealThreadCount() / 2));
    for (const QString& flight : {QStringLiteral("1"), rowsInFlight}) {
        for (const bool fixed : {false, true}) {
            QStringList environment{QStringLiteral("BENCH_ROWS_IN_FLIGHT=") + flight};
            if (fixed)
                environment << QStringLiteral("GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072");
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const QString& pair : environment)
                env.insert(pair.section('=', 0, 0), pair.section('=', 1));
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {"--rss-batch", folder, out});
            const QStringList fields =
                child.waitForFinished(1800000) && child.exitCode() == 0
                    ? QString::fromLatin1(child.readAllStandardOutput()).simplified().split(' ')
                    : QStringList{};
            if (fields.size() < 6 || fields[0].toLong() < 0) {
                std::printf("  %s, %s row(s) in flight: failed\n", qPrintable(what),
                            qPrintable(flight));
                continue;
            }
            QStringList rows;
            for (qsizetype i = 6; i < fields.size(); ++i)
                rows << QString::number(fields[i].toLong() / 1024);
            const double end = fields[1].toDouble(), after = fields[2].toDouble();
            std::printf("  %s, %s row(s) in flight, %s mmap threshold: start %ld MiB, after each "
                        "row %s MiB, end of run %ld MiB (%ld MiB held free), after the give-back "
                        "%ld MiB, peak %ld MiB, %.2f s  ratio %.2f (after / before the give-back)\n",
                        qPrintable(what), qPrintable(flight), fixed ? "fixed 128 KiB" : "default",
                        fields[0].toLong() / 1024, qPrintable(rows.join(QLatin1Char(' '))),
                        fields[1].toLong() / 1024, fields[3].toLong() / 1024,
                        fields[2].toLong() / 1024, fields[5].toLong() / 1024, fields[4].toDouble(),
                        end > 0 ? after / end : 0.0);
        }
    }
}

void printRatio(const char* what, double ours, double theirs) {
    if (ours < 0 || theirs < 0)
        std::printf("  %-52s failed or missing\n", what);
    else
        std::printf("  %-52s %7.3f s / %7.3f s  ratio %.2f\n", what, ours, theirs, ours / theirs);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && (args[1].startsWith("--peak-") || args[1] == "--rss-batch"))
        return childMain(args);

    QTemporaryDir dir;
    // BENCH_KEEP_DIR=folder keeps the photos there, for a profiler run of a child.
    QDir root(qEnvironmentVariableIsSet("BENCH_KEEP_DIR") ? qEnvironmentVariable("BENCH_KEEP_DIR")
                                                          : dir.path());
    for (const char* sub : {"jpeg", "ppm", "ours", "serial", "grk", "peak"})
        root.mkdir(QString::fromLatin1(sub));
    for (int i = 0; i < files; ++i) {
        const QImage image = photoLikeImage(width, height, i);
        const QString name = QStringLiteral("photo%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        image.save(root.filePath("jpeg/" + name + ".jpg"), "JPEG", 90);
        writePpm(image, root.filePath("ppm/" + name + ".ppm"));
    }
    BasketRows rows;
    fillBasket(rows, root.filePath("jpeg"));
    int inFlight = std::max(2, QThread::idealThreadCount() / 2);
    if (const int n = qEnvironmentVariableIntValue("BENCH_ROWS_IN_FLIGHT"); n > 0) {
        setBatchRowsInFlight(n);
        inFlight = n;
    }

    std::printf("Batch JPEG 2000 conversion, %d JPEG files of %d x %d, best of %d, %d cores, "
                "%d rows in flight\n",
                files, width, height, runs, QThread::idealThreadCount(), inFlight);
    // batch --memory: only the peak memory line.
    const bool memoryOnly = args.contains(QStringLiteral("--memory"));
    if (args.contains(QStringLiteral("--freed"))) {
        std::printf("resident memory across a run and the give-back at its end:\n");
        root.mkpath("freed");
        printFreedMemory(QStringLiteral("%1 photos of %2 x %3").arg(files).arg(width).arg(height),
                         root.filePath("jpeg"), root.filePath("freed"));
        root.mkpath("big");
        const QString first = root.filePath("big/big1.jpg");
        if (!photoLikeImage(8000, 6000, 7).save(first, "JPEG", 90))
            return 1;
        for (int i = 2; i <= 4; ++i)
            QFile::copy(first, root.filePath(QStringLiteral("big/big%1.jpg").arg(i)));
        printFreedMemory(QStringLiteral("4 photos of 8000 x 6000"), root.filePath("big"),
                         root.filePath("freed"));
        return 0;
    }
    for (int rate : {20, 25}) {
        if (memoryOnly)
            break;
        const double ours =
            bestSeconds(runs, [&] { return convert(rows, root.filePath("ours"), rate); });
        const int previous = setBatchRowsInFlight(1);
        const double serial =
            bestSeconds(runs, [&] { return convert(rows, root.filePath("serial"), rate); });
        setBatchRowsInFlight(previous);
        const double grk = bestSeconds(runs, [&] {
            return runTool("grk_compress", QStringList{"-y", root.filePath("ppm"), "-O", "jp2",
                                                       "-a", root.filePath("grk")} +
                                               grkRatio(rate));
        });
        std::printf("%s: ours %lld bytes, grk_compress %lld bytes\n",
                    rate == 25 ? "lossless (rate 25)" : "lossy, rate 20 (12:1)",
                    static_cast<long long>(folderBytes(root.filePath("ours"))),
                    static_cast<long long>(folderBytes(root.filePath("grk"))));
        printRatio("pipelined batch / grk_compress -y (from PPM)", ours, grk);
        printRatio("pipelined batch / one row at a time", ours, serial);
    }

    const long batchPeak =
        childPeak({"--peak-batch", root.filePath("jpeg"), root.filePath("peak")}).kilobytes;
    const long grkPeak =
        childPeak({"--peak-grk", root.filePath("ppm/photo01.ppm"), root.filePath("peak/grk.jp2")})
            .kilobytes;
    std::printf("peak resident memory, lossy rate 20:\n");
    if (batchPeak < 0 || grkPeak < 0)
        std::printf("  failed or missing\n");
    else
        std::printf("  pipelined batch of %d files %ld MiB, grk_compress of one image %ld MiB x %d "
                    "rows in flight = %ld MiB  ratio %.2f\n",
                    files, batchPeak / 1024, grkPeak / 1024, inFlight, grkPeak * inFlight / 1024,
                    double(batchPeak) / double(grkPeak * inFlight));
    printBudgetMemory(root);
    return 0;
}
