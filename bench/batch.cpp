// The batch JPEG 2000 conversion of a basket of 12 generated 6-megapixel JPEG files,
// at rate 20 (12:1) and lossless, against grk_compress converting a folder of the
// same images (-y) at the same ratio, in the same run. grk_compress reads no JPEG,
// so it gets the images as PPM files: its time has no JPEG decoding in it, ours has.
// Best of two runs each; ratios below 1.0 mean the batch is faster.
#include "core/setup/modSetup.h"
#include "engine/batch/modSaveBatch.h"
#include "platform/imagebox/ImageBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

using namespace picbasket;

namespace {

constexpr int width = 3000, height = 2000, files = 12, runs = 2;

// Smooth colour fields with texture and a little noise, different per file.
QImage makeImage(int seed) {
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

void writePpm(const QImage& image, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(QStringLiteral("P6\n%1 %2\n255\n").arg(image.width()).arg(image.height()).toLatin1());
    for (int y = 0; y < image.height(); ++y)
        f.write(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 3);
}

class NoBar : public ProgressIndicator {
public:
    void setMaximum(int) override {}
    void setValue(int) override {}
    void setVisible(bool) override {}
};

double bestSeconds(const std::function<bool()>& job) {
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

bool runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    return p.waitForFinished(1800000) && p.exitStatus() == QProcess::NormalExit &&
           p.exitCode() == 0;
}

qint64 folderBytes(const QString& folder) {
    qint64 total = 0;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files))
        total += info.size();
    return total;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QDir root(dir.path());
    for (const char* sub : {"jpeg", "ppm", "ours", "grk"})
        root.mkdir(QString::fromLatin1(sub));
    BasketRows rows;
    for (int i = 0; i < files; ++i) {
        const QImage image = makeImage(i);
        const QString name = QStringLiteral("photo%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        const QString jpeg = root.filePath("jpeg/" + name + ".jpg");
        image.save(jpeg, "JPEG", 90);
        writePpm(image, root.filePath("ppm/" + name + ".ppm"));
        BasketRow row;
        row.Text = name;
        row.Tag = jpeg;
        row.setSubItem(4, jpeg);
        rows.addRow(row);
    }

    typBatchSave& options = picbasket::Setup.BatchSave;
    options.DestinationMode = 1;
    options.DestinationFolder = root.filePath("ours");
    options.NameMode = 0;
    options.Overwrite = 1;
    options.ProcessTasks = 0;
    options.Codestream = 0;
    ImageBox box;
    NoBar bar;
    TaskRowList tasks;

    std::printf("Batch JPEG 2000 conversion, %d JPEG files of %d x %d, best of %d\n", files, width,
                height, runs);
    for (int rate : {20, 25}) {
        const bool lossless = rate == 25;
        options.Lossy = lossless ? 0 : 1;
        options.Rate = int16_t(rate);
        const double ours = bestSeconds([&] { return fncSaveSinglePage(rows, tasks, box, bar); });
        const QStringList ratio = lossless ? QStringList{} : QStringList{"-I", "-r", "12"};
        const double grk = bestSeconds([&] {
            return runTool(
                QStringLiteral("grk_compress"),
                QStringList{"-y", root.filePath("ppm"), "-O", "jp2", "-a", root.filePath("grk")} +
                    ratio);
        });
        std::printf("%s\n", lossless ? "lossless (rate 25)" : "lossy, rate 20 (12:1)");
        std::printf("  %-34s %7.3f s  %10lld bytes\n", "fncSaveSinglePage (from JPEG)", ours,
                    static_cast<long long>(folderBytes(root.filePath("ours"))));
        if (grk < 0)
            std::printf("  %-34s failed or missing\n", "grk_compress -y (from PPM)");
        else
            std::printf("  %-34s %7.3f s  %10lld bytes  ours/grk %.2f\n",
                        "grk_compress -y (from PPM)", grk,
                        static_cast<long long>(folderBytes(root.filePath("grk"))), ours / grk);
    }
    return 0;
}
