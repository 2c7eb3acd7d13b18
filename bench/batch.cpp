// The batch JPEG 2000 conversion of a basket of 12 generated 6-megapixel JPEG files,
// at rate 20 (12:1) and lossless, against grk_compress converting a folder of the
// same images (-y) at the same ratio, in the same run. grk_compress reads no JPEG,
// so it gets the images as PPM files: its time has no JPEG decoding in it, ours has.
// Best of two runs each; ratios below 1.0 mean the batch is faster.
#include "bench/BenchSupport.h"
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
        const QImage image = photoLikeImage(width, height, i);
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
        const double ours = bestSeconds(runs, [&] { return fncSaveSinglePage(rows, tasks, box, bar); });
        const QStringList ratio = lossless ? QStringList{} : QStringList{"-I", "-r", "12"};
        const double grk = bestSeconds(runs, [&] {
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
