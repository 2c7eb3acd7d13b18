#include "bench/BenchSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>

namespace picbasket::bench {

QImage photoLikeImage(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB888);
    quint32 state = quint32(seed) * 7919u + 1u;
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 28) - 8;
            const double fx = x / double(width) + seed * 0.1, fy = y / double(height);
            const double v[3] = {128 + 100 * std::sin(6 * fx + 2 * fy),
                                 128 + 90 * std::cos(5 * fy - 3 * fx),
                                 128 + 80 * std::sin(20 * fx * fy)};
            for (int c = 0; c < 3; ++c)
                row[x * 3 + c] = uchar(std::clamp(int(v[c]) + noise, 0, 255));
        }
    }
    return image;
}

bool writePpm(const QImage& image, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    f.write(QStringLiteral("P6\n%1 %2\n255\n").arg(rgb.width()).arg(rgb.height()).toLatin1());
    for (int y = 0; y < rgb.height(); ++y)
        f.write(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    return f.error() == QFile::NoError;
}

double bestSeconds(int runs, const std::function<bool()>& job) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!job())
            return -1;
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

bool runTool(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    return p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit &&
           p.exitCode() == 0;
}

} // namespace picbasket::bench
