// Encoding speed of our JPEG 2000 control against the two reference command-line
// encoders, on one 12-megapixel RGB image, lossless and at rate 20 (12:1). Each
// encoder runs several times; the best time counts. Our time includes writing the
// file; the tools' times include reading the PPM. Ratios below 1.0 mean we are faster.
#include "bench/BenchSupport.h"
#include "platform/jp2/AxImage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <thread>

using namespace picbasket;
using namespace picbasket::bench;

namespace {

constexpr int width = 4000, height = 3000, runs = 3;

void report(const char* name, double seconds, const QString& file, double ours) {
    if (seconds < 0) {
        std::printf("  %-28s failed or missing\n", name);
        return;
    }
    std::printf("  %-28s %7.3f s  %9lld bytes  ours/this %.2f\n", name, seconds,
                static_cast<long long>(QFileInfo(file).size()), ours / seconds);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QImage image = photoLikeImage(width, height);
    const QString ppm = dir.filePath(QStringLiteral("in.ppm"));
    writePpm(image, ppm);
    const QString threads = QString::number(std::thread::hardware_concurrency());
    const bool haveOpj = !QStandardPaths::findExecutable(QStringLiteral("opj_compress")).isEmpty();

    AxImage control;
    // Start the library's thread pool once, as the program does at its first save.
    control.SetBitmapHandle(image.copy(0, 0, 64, 64));
    control.SaveFile(dir.filePath(QStringLiteral("warm.jp2")), AxImage::FormatJp2);

    std::printf("JPEG 2000 encode, %d x %d RGB, best of %d, %s threads\n", width, height, runs,
                qPrintable(threads));
    for (int rate : {25, 20}) {
        const bool lossless = rate == 25;
        std::printf("%s\n", lossless ? "lossless (rate 25)" : "lossy, rate 20 (12:1)");
        const QString ours = dir.filePath(QStringLiteral("ours.jp2"));
        const double oursSeconds = bestSeconds(runs, [&] {
            control.SetBitmapHandle(image);
            control.SetCompressionRate(rate);
            control.SaveFile(ours, AxImage::FormatJp2);
            return true;
        });
        const QStringList lossy = lossless ? QStringList{} : QStringList{"-I", "-r", "12"};
        const QString grk = dir.filePath(QStringLiteral("grk.jp2")),
                      opj = dir.filePath(QStringLiteral("opj.jp2"));
        const double grkSeconds = bestSeconds(runs, [&] {
            return runTool(QStringLiteral("grk_compress"),
                           QStringList{"-i", ppm, "-o", grk} + lossy);
        });
        const double opjSeconds = haveOpj ? bestSeconds(runs, [&] {
            return runTool(QStringLiteral("opj_compress"),
                           QStringList{"-i", ppm, "-o", opj, "-threads", threads} + lossy);
        })
                                          : -1;
        report("AxImage (in process)", oursSeconds, ours, oursSeconds);
        report("grk_compress", grkSeconds, grk, oursSeconds);
        report("opj_compress -threads N", opjSeconds, opj, oursSeconds);
    }
    return 0;
}
