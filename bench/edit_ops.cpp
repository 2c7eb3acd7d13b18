// Times each image-box edit on a 12-megapixel image and the same edit done by
// ImageMagick's convert on the same image in the same run. convert's figure is its
// run time less the time of a plain read and write of the same file, so both
// columns count the operation alone. Operations that keep the image's size and
// take only milliseconds run `repeat` times on both sides, ten calls of ours on one
// box against one convert command with the operation ten times, and the totals
// are compared; each line says how its figures were taken. Every comparison is one
// line ending in "ratio" and ours / convert. A figure, not a test.
#include "bench/BenchSupport.h"
#include "platform/imagebox/ImageBox.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace picbasket;

namespace {

constexpr int Width = 4000;
constexpr int Height = 3000;
constexpr int Runs = 3;

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeOurs(const QImage& base, const std::function<void(ImageBox&)>& edit, int repeat) {
    std::vector<double> ms;
    for (int i = 0; i < Runs; ++i) {
        // The box owns its pixels, as after loading a file: an image shared with
        // the caller would make the first edit copy all of it first.
        ImageBox box;
        box.setImage(base.copy());
        box.setBackgroundColor(0x000000FF);
        QElapsedTimer timer;
        timer.start();
        for (int r = 0; r < repeat; ++r)
            edit(box);
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    return medianOf(ms);
}

QString convertProgram() {
    if (QFile::exists(QStringLiteral("/usr/bin/convert")))
        return QStringLiteral("/usr/bin/convert");
    return QStandardPaths::findExecutable(QStringLiteral("convert"));
}

// Wall time of one convert run in milliseconds, or -1 when it failed.
double timeConvert(const QString& program, const QStringList& args) {
    std::vector<double> ms;
    for (int i = 0; i < Runs; ++i) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(program, args);
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            std::fprintf(stderr, "convert failed: %s\n", process.readAllStandardError().constData());
            return -1;
        }
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    return medianOf(ms);
}

struct Case {
    const char* name;
    std::function<void(ImageBox&)> ours;
    QStringList convertOps; // empty: convert has no like operation
    int repeat = 1;         // calls of ours, and the operation's times in one convert
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QImage base = bench::photoLikeImage(Width, Height);
    const QString input = dir.filePath(QStringLiteral("in.ppm"));
    const QString output = dir.filePath(QStringLiteral("out.ppm"));
    const QString stampPath = dir.filePath(QStringLiteral("stamp.png"));
    const QImage stamp = base.copy(0, 0, 400, 300);
    if (!bench::writePpm(base, input) || !stamp.save(stampPath)) {
        std::fprintf(stderr, "cannot write the test images\n");
        return 1;
    }
    const QString program = convertProgram();
    constexpr int Cheap = 10;
    // A line of text takes well under a millisecond on both sides: a hundred of
    // them lift convert's total above the noise of its read and write.
    constexpr int Tiny = 100;
    auto s = [](const char* text) { return QString::fromLatin1(text); };
    const std::vector<Case> cases = {
        {"Flip left-right", [](ImageBox& b) { b.Flip(0); }, {s("-flop")}, Cheap},
        {"Flip top-bottom", [](ImageBox& b) { b.Flip(1); }, {s("-flip")}, Cheap},
        {"Rotate 90", [](ImageBox& b) { b.Rotate(90); }, {s("-rotate"), s("90")}},
        {"Rotate 30 smooth", [](ImageBox& b) { b.Rotate(30); },
         {s("-background"), s("red"), s("-rotate"), s("30")}},
        {"Rotate 30 nearest",
         [](ImageBox& b) {
             b.setRotateResample(false);
             b.Rotate(30);
         },
         {s("-background"), s("red"), s("-interpolate"), s("nearest"), s("-rotate"), s("30")}},
        {"Resize to 2000x1500", [](ImageBox& b) { b.Resize(2000, 1500); },
         {s("-filter"), s("Catrom"), s("-resize"), s("2000x1500!")}},
        {"Resize 150 %", [](ImageBox& b) { b.ResizePercent(150); },
         {s("-filter"), s("Catrom"), s("-resize"), s("150%")}},
        {"Crop inside", [](ImageBox& b) { b.Crop(500, 500, 2500, 2000); },
         {s("-crop"), s("2000x1500+500+500"), s("+repage")}},
        {"Canvas +50 each side", [](ImageBox& b) { b.Crop(-50, -50, Width + 50, Height + 50); },
         {s("-bordercolor"), s("red"), s("-border"), s("50")}},
        {"Blur 5 (sigma 3)", [](ImageBox& b) { b.Blur(5); }, {s("-gaussian-blur"), s("0x3")}},
        {"Sharpen 5", [](ImageBox& b) { b.Sharpen(5); }, {s("-unsharp"), s("0x1+1.25+0")}},
        {"Brightness 70", [](ImageBox& b) { b.Brightness(70, true, true, true); },
         {s("-brightness-contrast"), s("40x0")}, Cheap},
        {"Contrast 70", [](ImageBox& b) { b.Contrast(70, true, true, true); },
         {s("-brightness-contrast"), s("0x40")}, Cheap},
        {"Invert", [](ImageBox& b) { b.Invert(); }, {s("-negate")}, Cheap},
        {"Select ellipse + crop",
         [](ImageBox& b) {
             b.SelectEllipse(500, 500, 3500, 2500);
             b.CropToSelection();
         },
         {}},
        {"Merge centred 50 %",
         [&stamp](ImageBox& b) {
             b.setMergeTransparency(50);
             b.MergeBitmap(stamp);
         },
         {stampPath, s("-gravity"), s("center"), s("-compose"), s("dissolve"), s("-define"),
          s("compose:args=50"), s("-composite")}, Cheap},
        {"Merge tiled",
         [&stamp](ImageBox& b) {
             b.setMergeStyle(2);
             b.MergeBitmap(stamp);
         },
         {}},
        {"Draw text 48 pt",
         [](ImageBox& b) {
             b.setFont(QFont(QStringLiteral("DejaVu Sans"), 48));
             b.DrawText(100, 100, QStringLiteral("PicBasket edit benchmark"));
         },
         {s("-font"), s("DejaVu-Sans"), s("-pointsize"), s("48"), s("-annotate"), s("+100+164"),
          s("PicBasket edit benchmark")}, Tiny},
    };

    double baseline = -1;
    if (app.arguments().contains(QStringLiteral("--ours")))
        ;
    else if (program.isEmpty())
        std::printf("convert not found: only our figures are shown\n");
    else
        baseline = timeConvert(program, {input, output});
    std::printf("Image %d x %d (12 MP), %d cores; median of %d runs. convert: one command, its "
                "time less a plain read+write of the same file (%.0f ms); ours: the calls on one "
                "box, in this process.\n\n",
                Width, Height, QThread::idealThreadCount(), Runs, baseline);
    // edit_ops [--ours] [NAME...]: only the operations whose names hold one of the
    // words, and with --ours no convert runs (for a profiler).
    QStringList only = app.arguments().mid(1);
    const bool oursOnly = only.removeAll(QStringLiteral("--ours")) > 0;
    for (const Case& c : cases) {
        const QString caseName = QString::fromLatin1(c.name);
        if (!only.isEmpty() && std::none_of(only.begin(), only.end(), [&](const QString& word) {
                return caseName.contains(word, Qt::CaseInsensitive);
            }))
            continue;
        const double ours = timeOurs(base, c.ours, c.repeat);
        const QString how = c.repeat == 1
                                ? QStringLiteral("once")
                                : QStringLiteral("%1 times in one run").arg(c.repeat);
        double theirs = -1;
        if (baseline >= 0 && !oursOnly && !c.convertOps.isEmpty()) {
            QStringList args{input};
            for (int r = 0; r < c.repeat; ++r)
                args += c.convertOps;
            const double whole = timeConvert(program, args + QStringList{output});
            if (whole >= 0)
                theirs = std::max(0.0, whole - baseline);
        }
        std::printf("%-24s %-20s ours %9.1f ms", c.name, qPrintable(how), ours);
        if (theirs > 0)
            std::printf("  convert %9.1f ms  ratio %.2f\n", theirs, ours / theirs);
        else if (theirs == 0)
            std::printf("  convert within the noise of its read+write\n");
        else
            std::printf("  (convert has no like operation)\n");
    }
    std::printf("\nratio = ours / convert (below 1: ours is faster).\n");
    return 0;
}
