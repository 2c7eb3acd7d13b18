// Thumbnail speed of LoadPic (size mode 2, 160 x 120, white back colour) against
// vipsthumbnail on the same folder of 6-megapixel JPEGs in the same run. Each side
// goes over the folder several times and its best pass counts; vipsthumbnail runs
// once per pass over all files, so its start-up is shared by the folder as ours is.
// Ratios below 1.0 mean we are faster.
#include "bench/BenchSupport.h"
#include "engine/loading/modBitmapPro.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace picbasket;
using namespace picbasket::bench;

namespace {

constexpr int width = 3000, height = 2000, files = 12, passes = 3;

QStringList makeFolder(const QString& folder) {
    QStringList paths;
    for (int i = 0; i < files; ++i) {
        const QString path =
            QDir(folder).filePath(QString("photo%1.jpg").arg(i, 2, 10, QChar('0')));
        photoLikeImage(width, height, i).save(path, "JPEG", 90);
        paths << path;
    }
    return paths;
}

// Per-image milliseconds of our best pass, printing each image of that pass.
double timeLoadPic(const QStringList& paths) {
    double best = 1e30;
    std::vector<double> bestTimes;
    for (int pass = 0; pass < passes; ++pass) {
        std::vector<double> times;
        QElapsedTimer total;
        total.start();
        for (const QString& path : paths) {
            QElapsedTimer one;
            one.start();
            int32_t w = 0, h = 0;
            const QImage thumb = LoadPic(path, 2, 160, 120, 0xFFFFFF, w, h);
            times.push_back(one.nsecsElapsed() / 1e6);
            if (thumb.size() != QSize(160, 120))
                std::printf("LoadPic failed on %s\n", qPrintable(path));
        }
        const double perImage = total.nsecsElapsed() / 1e6 / paths.size();
        if (perImage < best)
            best = perImage, bestTimes = times;
    }
    for (int i = 0; i < paths.size(); ++i)
        std::printf("  LoadPic %s: %.2f ms\n", qPrintable(QFileInfo(paths[i]).fileName()),
                    bestTimes[size_t(i)]);
    return best;
}

double timeVips(const QString& tool, const QStringList& paths, const QString& out) {
    double best = 1e30;
    for (int pass = 0; pass < passes; ++pass) {
        QStringList args{"-s", "160x120", "-o", QDir(out).filePath("%s.jpg")};
        args << paths;
        QElapsedTimer timer;
        timer.start();
        QProcess process;
        process.start(tool, args);
        process.waitForFinished(-1);
        if (process.exitCode() != 0)
            std::printf("vipsthumbnail failed: %s\n", process.readAllStandardError().constData());
        best = std::min(best, timer.nsecsElapsed() / 1e6 / paths.size());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir folder, out;
    std::printf("Making %d JPEGs of %d x %d...\n", files, width, height);
    const QStringList paths = makeFolder(folder.path());
    const double ours = timeLoadPic(paths);
    std::printf("LoadPic, mode 2 at 160 x 120: %.2f ms per image (best of %d passes)\n", ours,
                passes);
    const QString tool = QStandardPaths::findExecutable("vipsthumbnail");
    if (tool.isEmpty()) {
        std::printf("vipsthumbnail not found (Debian package libvips-tools): no ratio\n");
        return 0;
    }
    const double vips = timeVips(tool, paths, out.path());
    std::printf("vipsthumbnail -s 160x120: %.2f ms per image (best of %d passes)\n", vips, passes);
    std::printf("ratio LoadPic / vipsthumbnail: %.2f (goal: at most 1.5)\n", ours / vips);
    return 0;
}
