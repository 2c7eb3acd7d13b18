// Times each image-box edit on a 12-megapixel image and the same edit done by
// ImageMagick's convert on the same image in the same run. convert's figure is its
// run time less the time of a plain read and write of the same file, so both
// columns count the operation alone. A figure, not a test.
#include "platform/imagebox/ImageBox.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

using namespace picbasket;

namespace {

constexpr int Width = 4000;
constexpr int Height = 3000;
constexpr int Runs = 3;

// A photo-like test image: smooth gradients with a little noise.
QImage makeImage() {
    QImage image(Width, Height, QImage::Format_RGB888);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < Height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < Width; ++x) {
            row[x * 3] = uchar(std::clamp(x * 255 / Width + noise(random), 0, 255));
            row[x * 3 + 1] = uchar(std::clamp(y * 255 / Height + noise(random), 0, 255));
            row[x * 3 + 2] = uchar(std::clamp(((x ^ y) & 255) + noise(random), 0, 255));
        }
    }
    return image;
}

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeOurs(const QImage& base, const std::function<void(ImageBox&)>& edit) {
    std::vector<double> ms;
    for (int i = 0; i < Runs; ++i) {
        ImageBox box;
        box.setImage(base);
        box.setBackgroundColor(0x000000FF);
        QElapsedTimer timer;
        timer.start();
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
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QImage base = makeImage();
    const QString input = dir.filePath(QStringLiteral("in.ppm"));
    const QString output = dir.filePath(QStringLiteral("out.ppm"));
    const QString stampPath = dir.filePath(QStringLiteral("stamp.png"));
    const QImage stamp = base.copy(0, 0, 400, 300);
    if (!base.save(input) || !stamp.save(stampPath)) {
        std::fprintf(stderr, "cannot write the test images\n");
        return 1;
    }
    const QString program = convertProgram();
    auto s = [](const char* text) { return QString::fromLatin1(text); };
    const std::vector<Case> cases = {
        {"Flip left-right", [](ImageBox& b) { b.Flip(0); }, {s("-flop")}},
        {"Flip top-bottom", [](ImageBox& b) { b.Flip(1); }, {s("-flip")}},
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
         {s("-brightness-contrast"), s("40x0")}},
        {"Contrast 70", [](ImageBox& b) { b.Contrast(70, true, true, true); },
         {s("-brightness-contrast"), s("0x40")}},
        {"Invert", [](ImageBox& b) { b.Invert(); }, {s("-negate")}},
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
          s("compose:args=50"), s("-composite")}},
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
          s("PicBasket edit benchmark")}},
    };

    double baseline = -1;
    if (program.isEmpty())
        std::printf("convert not found: only our figures are shown\n");
    else
        baseline = timeConvert(program, {input, output});
    std::printf("Image %d x %d (12 MP), median of %d runs; convert time less its plain "
                "read+write (%.0f ms)\n\n",
                Width, Height, Runs, baseline);
    std::printf("%-24s %10s %12s %8s\n", "operation", "ours ms", "convert ms", "ratio");
    for (const Case& c : cases) {
        const double ours = timeOurs(base, c.ours);
        double theirs = -1;
        if (baseline >= 0 && !c.convertOps.isEmpty()) {
            const double whole = timeConvert(program, QStringList{input} + c.convertOps + QStringList{output});
            if (whole >= 0)
                theirs = std::max(0.0, whole - baseline);
        }
        if (theirs > 0)
            std::printf("%-24s %10.1f %12.1f %8.2f\n", c.name, ours, theirs, ours / theirs);
        else if (theirs == 0)
            std::printf("%-24s %10.1f %12s %8s\n", c.name, ours, "(in noise)", "-");
        else
            std::printf("%-24s %10.1f %12s %8s\n", c.name, ours, "-", "-");
    }
    std::printf("\nratio = ours / convert (below 1: ours is faster). convert runs on all "
                "cores; ours on one.\n");
    return 0;
}
